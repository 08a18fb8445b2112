// The firmware update and the on-line check as the user meets them: the update server's offers,
// the download, the file dialog, the progress bar and read-out, and the resume after a break.
#include "MainDialogFixture.h"

#include "CompatibilityTable.h"
#include "FileVersion.h"
#include "FirmwareImageFiles.h"
#include "LoopbackHttpServer.h"
#include "NetworkState.h"
#include "TestFiles.h"
#include "UserFolders.h"

#include <wx/gauge.h>

namespace {
class FirmwareUpdate : public MainDialogTest {
protected:
  FirmwareUpdate()
  {
    chain.AddServos(1, 1);
    SFileVersionInfo version;
    GetFileVersion(version, GetRunningProgramPath());
    program = ToUtf8(version.text);
  }
  void UseServer() { updateServer.Set(server.BaseUrl().c_str()); }
  // The table lists a firmware newer than the simulated servo's 1.05.0120 for this program.
  void OfferFirmware(const std::string& hex)
  {
    server.Serve(kCompatibilityTablePath, "Config,Bootloader,Board,Model,Firmware,Status\r\n" + program +
                                              ",1.02.0007,3,1-3,1.6.0,public\r\n");
    server.Serve(FirmwarePath(L"001.006.0000000"), hex);
  }
  std::filesystem::path DataFolder() const { return NativePath(app->GetDataFolder()); }
  CString Status() const { return app->GetFirmwareUpdateStatus(); }
  // Timer 10 ticks until the writer stops it, with a look at the window while blocks go out.
  void RunWriter(const char* snapshot = nullptr)
  {
    for (int tick = 0; dialog->IsTimerRunning(10) && tick < 500; ++tick) {
      dialog->FireTimer(10);
      if (snapshot && dialog->FirmwareWriter().BlockIndex() == 3) {
        EXPECT_TRUE(Get<wxGauge>(IDC_PROGRESS)->IsShown());
        EXPECT_EQ(Get<wxGauge>(IDC_PROGRESS)->GetValue(), 3);
        EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Firmware Update");
        // The read-out's ticker brings the text in from the right.
        for (int step = 0; step < 11; ++step)
          dialog->StatusReadout()->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
        PumpEvents(50);
        EXPECT_FALSE(SaveSnapshot(dialog.get(), snapshot).empty());
        snapshot = nullptr;
      }
    }
    EXPECT_FALSE(dialog->IsTimerRunning(10));
  }

  LoopbackHttpServer server;
  std::string program;
  TempFolder files;
};
} // namespace

TEST_F(FirmwareUpdate, DownloadedFirmwareBrokenOffByAHangUpResumesOnTheNextConnect)
{
  const std::string hex = WriteObjcopyHexFile(files.Path() / "new.hex", 4000);
  OfferFirmware(hex);
  UseServer();
  OpenDialog();
  ConnectAndSelect(1);
  EXPECT_TRUE(answers.Requests().empty()) << "no newer program";
  EXPECT_EQ(dialog->LatestFirmwareVersion(), L"001.006.0000000");

  answers.Queue(IDYES); // download
  answers.Queue(IDYES); // write it
  answers.Queue(IDOK);  // failed
  answers.Queue(IDOK);  // the port is gone
  chain.HangUpAfterImageBytes(5000);
  ASSERT_TRUE(Click(IDC_FIRMWARE_UPDATE));
  EXPECT_TRUE(ReadBytes(DataFolder() / "latest.hex") == hex);
  EXPECT_EQ(Status(), L"STARTED");
  RunWriter("FirmwareUpdate_in_progress");
  RunPosted();
  EXPECT_EQ(MessageTexts()[0], L"Download latest firmware?");
  EXPECT_EQ(MessageTexts()[1], L"The new firmware will be written to the servo. Do you wish to proceed?");
  EXPECT_EQ(MessageTexts()[2], L"The firmware writing process failed.");
  EXPECT_EQ(Status(), L"ABORTED");
  EXPECT_TRUE(chain.ReceivedImage() == hex.substr(0, 5000));
  EXPECT_FALSE(Get<wxGauge>(IDC_PROGRESS)->IsShown());

  // The servo comes back on another adapter, still waiting for its firmware.
  SimulatedServoChain again(43);
  again.AddServos(1, 1);
  again.SetBootMode(ESimBootMode::WaitingForFirmware);
  answers.Queue(IDOK); // completed
  dialog->EnumeratePorts();
  ASSERT_TRUE(Choose(IDC_PORT_COMBO, L"COM43 "));
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_EQ(Status(), L"STARTED") << "resumed without a question";
  RunWriter();
  EXPECT_TRUE(again.WaitForImage(hex.size()) == hex);
  EXPECT_EQ(MessageTexts().back(), L"Successfully completed the firmware update!");
  EXPECT_EQ(Status(), L"COMPLETED");
  RunPosted();
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Connected") << "the servo runs its new firmware";
  EXPECT_EQ(answers.Pending(), 0u);
}

TEST_F(FirmwareUpdate, PickedFileNamedLikeTheDownloadIsStillTheUsersOwn)
{
  const std::string hex = WriteObjcopyHexFile(files.Path() / "latest.hex", 2500);
  OpenDialog();
  ConnectAndSelect(1);
  answers.Queue(IDOK, {Wide(files.Path() / "latest.hex")}); // no server: the file dialog at once
  answers.Queue(IDYES);
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_FIRMWARE_UPDATE));
  EXPECT_EQ(answers.Requests()[0].kind, EModalKind::FileOpen);
  EXPECT_EQ(MessageTexts()[1], L"The current firmware will be erased and replaced with the contents of the "
                               L"selected file: latest\nDo you wish to continue?");
  EXPECT_EQ(Status(), L"STARTED_MANUAL");
  RunWriter();
  EXPECT_TRUE(chain.WaitForImage(hex.size()) == hex);
  EXPECT_EQ(Status(), L"COMPLETED");
}

TEST_F(FirmwareUpdate, StartUpCheckOffersANewerProgramAndKeepsRunning)
{
  server.Serve(kCompatibilityTablePath, "Config,Status\n99.0.0,public\n");
  server.Serve(InstallerPath(L"99.0.0"), "MSI");
  UseServer();
  answers.Queue(IDYES);
  answers.Queue(IDOK);
  OpenDialog();
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[0], L"A new version of HVX PRO Config is available.\nDo you want to upgrade now?");
  EXPECT_NE(MessageTexts()[1].find(Wide(DataFolder() / "latest.msi").Str()), std::wstring::npos);
  EXPECT_EQ(ReadBytes(DataFolder() / "latest.msi"), "MSI");
  EXPECT_EQ(server.Requests().back().userAgent, "HVXProConfig Firmware Availability Check");
  EXPECT_FALSE(dialog->IsClosed()) << "the installer is never started";
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "Compatibility.csv"));
}

TEST_F(FirmwareUpdate, WithoutAServerTheWindowOpensWithoutAWord)
{
  server.Serve(kCompatibilityTablePath, ""); // an empty table, then no server at all
  UseServer();
  OpenDialog();
  updateServer.Set("http://127.0.0.1:1");
  RestartProgram();
  OpenDialog();
  EXPECT_TRUE(answers.Requests().empty());
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_FALSE(Get<wxAnyButton>(IDC_FIRMWARE_UPDATE)->GetBitmap().IsOk()) << "the off-line look";
}

TEST_F(FirmwareUpdate, TheReservedDefaultServerIsNeverAsked)
{
  // Through a proxy any host can be reached, the reserved one too: only the download's own check
  // keeps the requests at the start and at the servo's selection from going out.
  ScopedEnvironment proxy{"http_proxy", server.BaseUrl().c_str()};
  ScopedEnvironment noProxy{"no_proxy", nullptr};
  ScopedEnvironment noProxyUpper{"NO_PROXY", nullptr};
  OpenDialog();
  ConnectAndSelect(1);
  EXPECT_TRUE(server.Requests().empty());
  // That the proxy would have carried them: another host's request reaches it.
  if (IsInternetConnected()) {
    updateServer.Set("updates.example.org");
    ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].userAgent, "HVXProConfig Software Availability Check");
  }
}

TEST_F(FirmwareUpdate, NoInstallerIsAskedForWithoutANewerProgram)
{
  server.Serve(kCompatibilityTablePath, "Config,Status\n"); // nothing newer
  UseServer();
  OpenDialog();
  EXPECT_FALSE(dialog->DownloadInstaller());
  EXPECT_EQ(server.Requests().size(), 1u) << "the table only";
  EXPECT_TRUE(answers.Requests().empty());
}

TEST_F(FirmwareUpdate, ServerValueThatNamesNoServerIsSaidOnceInTheLog)
{
  updateServer.Set("http://[::1");
  OpenDialog();
  ConnectAndSelect(1); // checks the server again
  const auto log = Log();
  EXPECT_EQ(
      std::count(log.begin(), log.end(),
                 L"The update server \"http://[::1\" is not used: the IPv6 address has no closing bracket."),
      1);
  EXPECT_TRUE(answers.Requests().empty());
}
