#include "CFirmwareWriter.h"

#include "CStringPrinting.h"
#include "FirmwareImageFiles.h"
#include "MessageBoxTypes.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"
#include "TestFiles.h"
#include "WinTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <map>

namespace {
// The window around the writer: the Connect button works the port directly, waits let the chain
// catch up, prompts are answered from a queue (Yes when empty).
class TestHost : public IFirmwareWriterHost {
public:
  TestHost(CHVXProControlPort& port, SimulatedServoChain& chain) : m_port(port), m_chain(chain) {}
  void Wait(DWORD) override { m_chain.Settle(); }
  int Ask(const CString& text, UINT) override
  {
    asked.push_back(text.Str());
    if (answers.empty())
      return IDYES;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  CString GetUpdateStatus() override { return status; }
  void SetUpdateStatus(const CString& value) override { status = value; }
  void ToggleConnection() override
  {
    if (m_port.IsConnected())
      m_port.Disconnect();
    else
      m_port.Connect(m_chain.PortNumber());
  }
  void PostConnect() override { ++postedConnects; }
  void StartTimer() override { timer = true; }
  void StopTimer() override { timer = false; }
  void ShowProgress(int range) override
  {
    progressRange = range;
    progressShown = true;
  }
  void SetProgress(int) override {}
  void HideProgress() override { progressShown = false; }
  void ShowUpdateReadout() override {}
  void SetUpdateFlag(bool running) override { flag = running; }

  std::deque<int> answers;
  std::vector<std::wstring> asked;
  CString status;
  int postedConnects = 0;
  bool timer = false;
  bool flag = false;
  int progressRange = -1;
  bool progressShown = false;

private:
  CHVXProControlPort& m_port;
  SimulatedServoChain& m_chain;
};

// A port whose raw writes, the image blocks, can be refused: failures[k] more times for block k.
class FlakyPort : public CHVXProControlPort {
public:
  using CHVXProControlPort::Write;
  BOOL Write(const void* buffer, DWORD count) override
  {
    if (int& left = failures[blocksWritten]; left > 0) {
      --left;
      return FALSE;
    }
    ++blocksWritten;
    return CHVXProControlPort::Write(buffer, count);
  }
  std::map<int, int> failures;
  int blocksWritten = 0;
};

class FirmwareWriterWire : public ::testing::Test {
protected:
  FirmwareWriterWire()
  {
    chain.SetReplyDelay(std::chrono::microseconds(300));
    chain.AddServos(1, 1);
    SetSleeper([this](DWORD) { chain.Settle(); });
  }
  ~FirmwareWriterWire() override
  {
    port.Disconnect();
    SetSleeper({});
  }
  // As the dialog runs timer 10 until the writer stops it.
  void RunTimer()
  {
    for (int tick = 0; host.timer && tick < 1000; ++tick)
      writer.Tick();
    ASSERT_FALSE(host.timer);
  }
  CString HexFile(size_t binaryBytes, const char* name = "image.hex")
  {
    const auto path = folder.Path() / name;
    file = WriteObjcopyHexFile(path, binaryBytes);
    EXPECT_FALSE(file.empty()) << "objcopy made the hex file";
    return Wide(path);
  }
  bool Has(const std::string& line) const
  {
    const auto lines = chain.ReceivedTexts();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  TempFolder folder;
  SimulatedServoChain chain;
  FlakyPort port;
  TestHost host{port, chain};
  CFirmwareWriter writer{port, host};
  std::string file;
};
} // namespace

TEST_F(FirmwareWriterWire, DownloadedFileReachesTheBootloaderWhole)
{
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  ASSERT_TRUE(writer.Load(HexFile(3000), true));
  ASSERT_EQ(writer.Confirm(1, false, L"latest"), EFirmwareStart::Started);
  EXPECT_TRUE(Has("#1UPDATE") && Has("#1CONFIRM"));
  EXPECT_EQ(host.asked, std::vector<std::wstring>{
                            L"The new firmware will be written to the servo. Do you wish to proceed?"});
  EXPECT_EQ(host.status, L"STARTED");
  EXPECT_EQ(chain.GetBootMode(), ESimBootMode::WaitingForFirmware);

  RunTimer();
  EXPECT_EQ(chain.WaitForImage(file.size()), file);
  EXPECT_EQ(host.progressRange, int(file.size() / 1024));
  EXPECT_FALSE(host.progressShown);
  EXPECT_EQ(host.status, L"COMPLETED");
  EXPECT_EQ(host.asked.back(), L"Successfully completed the firmware update!");
  EXPECT_FALSE(host.flag);
  EXPECT_FALSE(port.IsConnected());
  EXPECT_EQ(host.postedConnects, 1);
  EXPECT_EQ(chain.GetBootMode(), ESimBootMode::Firmware) << "the image was complete";
}

TEST_F(FirmwareWriterWire, LastBlockOfAWholeNumberOfBlocksIsEmpty)
{
  // Line ends after the end record pad the file to exactly two blocks.
  std::string padded = WriteObjcopyHexFile(folder.Path() / "raw.hex", 600);
  ASSERT_LT(padded.size(), 2048u);
  padded.append(2048 - padded.size(), '\n');
  WriteBytes(folder.Path() / "two.hex", padded);
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 14);
  ASSERT_TRUE(writer.Load(Wide(folder.Path() / "two.hex"), false));
  ASSERT_EQ(writer.Confirm(-1, true, L"two"), EFirmwareStart::Started);
  EXPECT_EQ(host.status, L"STARTED_MANUAL") << "a picked file is not resumed from latest.hex";
  RunTimer();
  EXPECT_EQ(host.progressRange, 2);
  EXPECT_EQ(writer.BlockIndex(), 3) << "blocks 0, 1 and an empty 2";
  EXPECT_EQ(chain.WaitForImage(2048), padded);
  EXPECT_EQ(host.status, L"COMPLETED");
}

TEST_F(FirmwareWriterWire, DeclinedUpdateWritesNothingAndSaysNoFailure)
{
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  host.status = L"COMPLETED";
  ASSERT_TRUE(writer.Load(HexFile(100, "mine.hex"), false));
  host.answers = {IDNO};
  EXPECT_EQ(writer.Confirm(1, false, L"mine"), EFirmwareStart::Declined);
  EXPECT_EQ(host.asked.back(), L"The current firmware will be erased and replaced with the contents of the "
                               L"selected file: mine\nDo you wish to continue?");
  chain.WaitForLines(2);
  EXPECT_TRUE(Has("#1UPDATE") && Has("#1QID") && !Has("#1CONFIRM"));
  EXPECT_EQ(host.asked.size(), 1u) << "no failure reported";
  EXPECT_EQ(host.status, L"COMPLETED") << "profile untouched";
  EXPECT_FALSE(host.timer || host.flag || writer.HasImage());

  // Declining with the servo in its bootloader: nothing at all goes to the servo.
  ASSERT_TRUE(writer.Load(HexFile(100, "mine.hex"), false));
  chain.ClearReceived();
  host.answers = {IDNO};
  EXPECT_EQ(writer.Confirm(-1, true, L"mine"), EFirmwareStart::Declined);
  chain.Settle();
  EXPECT_TRUE(chain.ReceivedBytes().empty());
  EXPECT_FALSE(host.progressShown);
  EXPECT_EQ(host.status, L"COMPLETED");
}

TEST_F(FirmwareWriterWire, FileThatIsNoHexIsRefusedBeforeTheServoHearsOfIt)
{
  WriteBytes(folder.Path() / "latest.hex", "<html><body>Not Found</body></html>");
  WriteBytes(folder.Path() / "empty.hex", "");
  WriteBytes(folder.Path() / "nodata.hex", ":00000001FF\r\n");
  EXPECT_FALSE(writer.Load(Wide(folder.Path() / "latest.hex"), true));
  EXPECT_FALSE(writer.Load(Wide(folder.Path() / "empty.hex"), false));
  EXPECT_FALSE(writer.Load(Wide(folder.Path() / "nodata.hex"), false));
  EXPECT_EQ(host.asked.size(), 3u);
  for (const std::wstring& text : host.asked)
    EXPECT_NE(text.find(L"not a firmware hex file"), std::wstring::npos);
  EXPECT_FALSE(writer.Load(Wide(folder.Path() / "missing.hex"), false));
  EXPECT_EQ(host.asked.size(), 3u) << "a missing file is quiet";
  EXPECT_FALSE(host.flag);
  EXPECT_TRUE(chain.ReceivedBytes().empty());
}

TEST_F(FirmwareWriterWire, ServoThatStaysInItsFirmwareGetsNoBlocks)
{
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    return line == "#1CONFIRM" ? std::optional<std::string>("") : std::nullopt; // ignores the update
  });
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  ASSERT_TRUE(writer.Load(HexFile(1500), true));
  ASSERT_EQ(writer.Confirm(1, false, L"latest"), EFirmwareStart::Started);
  RunTimer();
  EXPECT_TRUE(chain.ReceivedImage().empty());
  EXPECT_EQ(host.status, L"ABORTED");
  EXPECT_EQ(host.asked.back(),
            L"The servo's bootloader did not answer.\nThe firmware writing process failed.");
}

TEST_F(FirmwareWriterWire, UpdateCompletesOnlyWithItsLastBlock)
{
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  ASSERT_TRUE(writer.Load(HexFile(3000), true));
  const int lastBlock = int(file.size() / 1024);
  ASSERT_NE(file.size() % 1024, 0u);
  port.failures[lastBlock] = INT_MAX;
  ASSERT_EQ(writer.Confirm(1, false, L"latest"), EFirmwareStart::Started);
  RunTimer();
  EXPECT_EQ(writer.BlockIndex(), lastBlock);
  EXPECT_EQ(chain.WaitForImage(size_t(lastBlock) * 1024), file.substr(0, size_t(lastBlock) * 1024));
  EXPECT_EQ(host.status, L"ABORTED");
  EXPECT_EQ(host.asked.back(), L"The firmware writing process failed.");
}

TEST_F(FirmwareWriterWire, EachBlockGetsItsOwnRetries)
{
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 14);
  ASSERT_TRUE(writer.Load(HexFile(1500), false));
  for (int block = 0; block < 3; ++block)
    port.failures[block] = CFirmwareWriter::kMaxBlockRetries - 1;
  ASSERT_EQ(writer.Confirm(-1, true, L"image"), EFirmwareStart::Started);
  RunTimer();
  EXPECT_EQ(chain.WaitForImage(file.size()), file);
  EXPECT_EQ(host.status, L"COMPLETED");
}

TEST_F(FirmwareWriterWire, FailedUpdateOfAPickedFileIsNotTakenForTheDownload)
{
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 14);
  ASSERT_TRUE(writer.Load(HexFile(1500), false));
  port.failures[1] = INT_MAX;
  ASSERT_EQ(writer.Confirm(-1, true, L"image"), EFirmwareStart::Started);
  RunTimer();
  EXPECT_EQ(host.asked.back(), L"The firmware writing process failed.");
  EXPECT_EQ(host.status, L"STARTED_MANUAL") << "the next connect does not write latest.hex";
}
