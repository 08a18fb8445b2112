// The COM port's open, close, timeouts, reads and writes against a pseudo-terminal.
#include "CRS232Port.h"
#include "CStringPrinting.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

namespace {
class RS232Port : public ::testing::Test {
protected:
  void OpenWithProtocolTimeouts()
  {
    ASSERT_TRUE(port.Open(chain.PortName()));
    ASSERT_TRUE(port.SetTimeouts(20, 20, 100, 0, 0));
  }
  // Waits until the bytes sent to the program have arrived in its queue.
  void SendAndWait(const std::string& bytes)
  {
    chain.SendRaw(bytes);
    ASSERT_TRUE(WaitForSerialInput(port.GetHandle(), 2000));
  }

  TempUserFolders folders;
  SimulatedServoChain chain{5};
  CRS232Port port;
};
} // namespace

TEST_F(RS232Port, OpenAndCloseKeepTheirState)
{
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.GetHandle(), nullptr);
  port.Close(); // nothing to do

  // COM5 is reachable only as "//./COM5": a bare name is no path.
  EXPECT_EQ(CreateFileW(L"COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  ASSERT_TRUE(port.Open(L"COM5"));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_NE(port.GetHandle(), nullptr);
  EXPECT_EQ(port.GetPortName(), L"COM5");
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.GetHandle(), nullptr);

  EXPECT_FALSE(port.Open(L"COM6"));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.GetPortName(), L"COM5"); // the old name stays
  EXPECT_EQ(port.GetHandle(), nullptr);

  // The port can be had again after a close, and by one owner at a time.
  ASSERT_TRUE(port.Open(L"com5"));
  CRS232Port second;
  EXPECT_FALSE(second.Open(L"COM5"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  port.Close();
  EXPECT_TRUE(second.Open(L"COM5"));
  second.Close();
}

TEST_F(RS232Port, TextReadsTakeWhatCameAsText)
{
  OpenWithProtocolTimeouts();
  CString text = L"old";
  EXPECT_TRUE(port.Read(text)); // nothing came: still a successful read
  EXPECT_EQ(text, L"");

  std::string block(4096, ' ');
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = char(1 + i % 255);
  SendAndWait(block);
  EXPECT_TRUE(port.Read(text));
  ASSERT_EQ(text.GetLength(), 4096);
  EXPECT_EQ(CStringA(text).Str(), block);

  SendAndWait(std::string("ab\0cd\r", 6));
  EXPECT_EQ(port.ReadString(), L"ab"); // up to the first zero byte

  port.Close();
  text = L"old";
  EXPECT_FALSE(port.Read(text));
  EXPECT_EQ(text, L"");
  EXPECT_EQ(port.ReadString(), L"");
}

TEST_F(RS232Port, TextReadWaitsNoLongerThanTheDeviceTimeoutsAllow)
{
  ASSERT_TRUE(port.Open(chain.PortName()));
  // A total of 50 ms is shorter than the half second a text read gives a first byte.
  ASSERT_TRUE(port.SetTimeouts(20, 0, 50, 0, 0));
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    chain.SendRaw("late\r");
  });
  CString text = L"old";
  EXPECT_TRUE(port.Read(text));
  EXPECT_EQ(text, L"");
  late.join();
  ASSERT_TRUE(WaitForSerialInput(port.GetHandle(), 2000));
  EXPECT_EQ(port.ReadString(), L"late\r");
}

TEST_F(RS232Port, CountedReadsSucceedOnlyInFull)
{
  OpenWithProtocolTimeouts();
  SendAndWait("123456789");
  char buffer[10];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_FALSE(port.Read(buffer, 10));
  EXPECT_EQ(std::string(buffer, 9), "123456789");
  EXPECT_EQ(buffer[9], 0);

  SendAndWait("abcdefghij");
  EXPECT_TRUE(port.Read(buffer, 10));
  EXPECT_EQ(std::string(buffer, 10), "abcdefghij");

  SendAndWait("ABCDEFGHI");
  CStringA text;
  EXPECT_FALSE(port.Read(text, 10));
  ASSERT_EQ(text.GetLength(), 10);
  EXPECT_EQ(text.Left(9), "ABCDEFGHI");
  EXPECT_EQ(text[9], 0);
}

TEST_F(RS232Port, WritesSendTheBytesUnchanged)
{
  OpenWithProtocolTimeouts();
  EXPECT_FALSE(port.WriteString(CStringA()));
  EXPECT_TRUE(port.Write(CStringA("abc"), 2));
  EXPECT_TRUE(port.Write(CStringA("xyz"), 99)); // clamped to the text
  EXPECT_FALSE(port.Write(CStringA("xyz"), -1));
  std::string every(256, 0);
  std::iota(every.begin(), every.end(), 0);
  EXPECT_TRUE(port.Write(every.data(), DWORD(every.size())));
  EXPECT_TRUE(port.WriteString(CStringA("\r\n")));
  const std::string expected = "abxyz" + every + "\r\n";
  EXPECT_EQ(chain.WaitForBytes(expected.size()), expected);

  port.Close();
  EXPECT_FALSE(port.WriteString(CStringA("#5QD\r")));
  EXPECT_FALSE(port.Write(static_cast<const void*>("x"), 1));
}

TEST_F(RS232Port, TimeoutsThatCannotBeSetCloseThePort)
{
  EXPECT_FALSE(port.SetTimeouts(20, 20, 100, 0, 0)); // no port: the read of the old ones fails
  EXPECT_FALSE(port.IsOpen());

  OpenWithProtocolTimeouts();
  COMMTIMEOUTS set;
  ASSERT_TRUE(GetCommTimeouts(port.GetHandle(), &set));
  EXPECT_EQ(set.ReadIntervalTimeout, 20u);
  EXPECT_EQ(set.ReadTotalTimeoutMultiplier, 20u);
  EXPECT_EQ(set.ReadTotalTimeoutConstant, 100u);
  EXPECT_EQ(set.WriteTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(set.WriteTotalTimeoutConstant, 0u);

  chain.HangUp();
  EXPECT_FALSE(port.SetTimeouts(20, 20, 100, 0, 0));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.GetHandle(), nullptr);
}
