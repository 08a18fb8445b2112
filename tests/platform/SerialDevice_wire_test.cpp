// The serial device under the port classes, against a pseudo-terminal whose other end the test
// drives byte by byte: exclusive use, raw bytes, the Win32 timeout rules, purges and hang-ups.
#include "SerialDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
using namespace std::chrono_literals;

// The far end of a pseudo-terminal; the test holds the slave open too, as the simulated servo
// does, so that the device can be opened and closed again.
class FarEnd {
public:
  FarEnd()
  {
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty failed");
    m_path = name;
    termios mode{};
    tcgetattr(m_master, &mode);
    cfmakeraw(&mode);
    tcsetattr(m_master, TCSANOW, &mode);
  }
  ~FarEnd()
  {
    HangUp();
    close(m_slave);
  }
  const std::string& Path() const { return m_path; }
  void Send(const std::string& bytes)
  {
    ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  // What the device wrote, once count bytes have come (or after a second).
  std::string Take(size_t count)
  {
    std::string got;
    const auto giveUp = std::chrono::steady_clock::now() + 1s;
    while (got.size() < count && std::chrono::steady_clock::now() < giveUp) {
      char buffer[512];
      pollfd p{m_master, POLLIN, 0};
      if (poll(&p, 1, 10) > 0) {
        ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n > 0)
          got.append(buffer, size_t(n));
      }
    }
    return got;
  }
  void HangUp()
  {
    if (m_master >= 0)
      close(m_master);
    m_master = -1;
  }

private:
  int m_master = -1, m_slave = -1;
  std::string m_path;
};

COMMTIMEOUTS Timeouts(DWORD interval, DWORD multiplier, DWORD constant)
{
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = interval;
  t.ReadTotalTimeoutMultiplier = multiplier;
  t.ReadTotalTimeoutConstant = constant;
  return t;
}

std::string ReadUpTo(CSerialDevice& device, DWORD count, bool* ok = nullptr, DWORD* error = nullptr)
{
  std::string buffer(count, '\0');
  DWORD got = 0, failure = 0;
  const bool result = device.Read(buffer.data(), count, &got, &failure);
  if (ok)
    *ok = result;
  if (error)
    *error = failure;
  buffer.resize(got);
  return buffer;
}

class SerialDevice : public ::testing::Test {
protected:
  void SetUp() override
  {
    DWORD error = 0;
    device = CSerialDevice::Open(far.Path(), &error);
    ASSERT_TRUE(device) << error;
  }
  FarEnd far;
  std::unique_ptr<CSerialDevice> device;
};
} // namespace

TEST_F(SerialDevice, IsHadByOneOwnerAtATime)
{
  DWORD error = 0;
  EXPECT_FALSE(CSerialDevice::Open(far.Path(), &error));
  EXPECT_EQ(error, ERROR_SHARING_VIOLATION);
  device.reset();
  EXPECT_TRUE(CSerialDevice::Open(far.Path(), &error));

  EXPECT_FALSE(CSerialDevice::Open("/nonexistent/ttyUSB9", &error));
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(CSerialDevice::Open("/dev/null", &error)); // not a terminal
  EXPECT_EQ(error, ERROR_INVALID_FUNCTION);
}

TEST_F(SerialDevice, BytesPassUnchangedBothWays)
{
  // Control characters a cooked terminal would act on: CR, LF, ^C, ^D, ^Q, ^S, DEL, 0xFF.
  const std::string bytes("#5QD\r\n\x03\x04\x11\x13\x7f\xff\0end", 15);
  device->SetTimeouts(Timeouts(20, 20, 100));
  far.Send(bytes);
  EXPECT_EQ(ReadUpTo(*device, 64), bytes);

  DWORD written = 0, error = 0;
  EXPECT_TRUE(device->Write(bytes.data(), DWORD(bytes.size()), &written, &error));
  EXPECT_EQ(written, bytes.size());
  EXPECT_EQ(far.Take(bytes.size()), bytes);
}

TEST_F(SerialDevice, ReadsEndAsTheWin32TimeoutsSay)
{
  // The count met: the read returns at once and what is left waits for the next read.
  device->SetTimeouts(Timeouts(0, 0, 0));
  far.Send("abcdef");
  EXPECT_EQ(ReadUpTo(*device, 4), "abcd");
  EXPECT_EQ(ReadUpTo(*device, 2), "ef");

  // The interval timeout ends a read at a gap after the first byte.
  device->SetTimeouts(Timeouts(20, 0, 0));
  std::thread sender([&] {
    far.Send("abc");
    std::this_thread::sleep_for(400ms);
    far.Send("def");
  });
  EXPECT_EQ(ReadUpTo(*device, 64), "abc");
  sender.join();
  EXPECT_EQ(ReadUpTo(*device, 64), "def");

  // The total timeout ends a read that receives nothing: a success with no byte.
  device->SetTimeouts(Timeouts(20, 1, 30));
  bool ok = false;
  EXPECT_EQ(ReadUpTo(*device, 64, &ok), "");
  EXPECT_TRUE(ok);

  // Interval MAXDWORD with no totals takes what is waiting and does not wait for more.
  device->SetTimeouts(Timeouts(MAXDWORD, 0, 0));
  EXPECT_EQ(ReadUpTo(*device, 64, &ok), "");
  EXPECT_TRUE(ok);
  far.Send("xy");
  ASSERT_TRUE(device->WaitForInput(2000));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ReadUpTo(*device, 64), "xy");

  // Interval and multiplier MAXDWORD: the first bytes to come, without waiting for more.
  device->SetTimeouts(Timeouts(MAXDWORD, MAXDWORD, 2000));
  std::thread first([&] {
    std::this_thread::sleep_for(50ms);
    far.Send("z");
  });
  EXPECT_EQ(ReadUpTo(*device, 64), "z");
  first.join();
}

TEST_F(SerialDevice, PurgeDiscardsWhatIsWaiting)
{
  far.Send("stale reply\r");
  ASSERT_TRUE(device->WaitForInput(2000));
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(device->Purge(true, false));
  EXPECT_FALSE(device->WaitForInput(50));
  device->SetTimeouts(Timeouts(MAXDWORD, 0, 0));
  EXPECT_EQ(ReadUpTo(*device, 64), "");
}

TEST_F(SerialDevice, HangUpEndsAWaitingReadAtOnce)
{
  // No timeouts at all: only the hang-up can end this read.
  device->SetTimeouts(Timeouts(0, 0, 0));
  std::thread unplug([&] {
    std::this_thread::sleep_for(100ms);
    far.HangUp();
  });
  bool ok = true;
  DWORD error = 0;
  EXPECT_EQ(ReadUpTo(*device, 64, &ok, &error), "");
  unplug.join();
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, ERROR_GEN_FAILURE);

  EXPECT_TRUE(device->IsHungUp());
  EXPECT_TRUE(device->WaitForInput(1000)); // the next read fails rather than waits
  DWORD written = 0;
  EXPECT_FALSE(device->Write("x", 1, &written, &error));
  EXPECT_EQ(error, ERROR_GEN_FAILURE);
}
