// The application object: start-up, the main dialog as the program's one window, and the profile
// entries it keeps for the firmware update and the calibration.
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "GuiTestSupport.h"
#include "MainDialogIds.h"
#include "ModalTestSupport.h"
#include "SerialPortNumberStore.h"
#include "TempUserFolders.h"

#include <gtest/gtest.h>
#include <wx/button.h>

#include <filesystem>

TEST(CZHVXProConfigApp, RunsTheMainDialogModallyAndEndsWhenItCloses)
{
  TempUserFolders folders;
  CModalAnswerQueue answers;
  CZHVXProConfigApp app;
  EXPECT_EQ(GetHvxApp(), &app);
  EXPECT_EQ(app.GetMainWnd(), nullptr);

  bool sawMainWindow = false;
  ModalWatchdog().ExpectDialog([&](wxDialog* shown) {
    sawMainWindow = app.GetMainWnd() == shown;
    EXPECT_TRUE(shown->GetTitle().StartsWith(L"Brantor HVX PRO Config"));
    wxCommandEvent click(wxEVT_BUTTON, IDC_CLOSE);
    shown->FindWindow(IDC_CLOSE)->ProcessWindowEvent(click);
  });
  EXPECT_EQ(app.InitInstance(), FALSE);
  EXPECT_TRUE(sawMainWindow);
  EXPECT_EQ(ModalWatchdog().PendingDrivers(), 0u);
  EXPECT_EQ(app.GetMainWnd(), nullptr);
  EXPECT_TRUE(answers.Requests().empty()) << "closed while disconnected: no question";

  // The start-up made the program's folders and the close wrote its profile.
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(app.GetDataFolder().Str())));
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title"), L"Position");
}

TEST(CZHVXProConfigApp, StatusEntriesOfUpdateAndCalibration)
{
  TempUserFolders folders;
  CZHVXProConfigApp app;
  ASSERT_TRUE(app.StartUp());
  EXPECT_EQ(app.GetFirmwareUpdateStatus(), L"") << "a fresh profile";
  app.SetFirmwareUpdateStatus(L"STARTED_MANUAL");
  app.SetEncoderCalibrationStatus(L"CW");
  {
    // The next run reads what this one wrote.
    CZHVXProConfigApp next;
    ASSERT_TRUE(next.StartUp());
    EXPECT_EQ(GetHvxApp(), &next);
    EXPECT_EQ(next.GetFirmwareUpdateStatus(), L"STARTED_MANUAL");
    EXPECT_EQ(next.GetProfileString(L"Encoder Calibration", L"Status"), L"CW");
  }
  EXPECT_EQ(GetHvxApp(), &app);
}

TEST(CZHVXProConfigApp, SerialPortNumbersAreKeptInTheProfile)
{
  TempUserFolders folders;
  {
    CZHVXProConfigApp app;
    ASSERT_TRUE(app.StartUp());
    GetSerialPortNumberStore()->Save({{7, "/dev/serial/by-id/usb-servo-if00"}});
    EXPECT_EQ(app.GetProfileString(L"Ports", L"COM7"), L"/dev/serial/by-id/usb-servo-if00");
  }
  // Without a program the port list falls back to its own file; the next run finds the number.
  CZHVXProConfigApp next;
  ASSERT_TRUE(next.StartUp());
  const SerialPortNumbers numbers = GetSerialPortNumberStore()->Load();
  ASSERT_EQ(numbers.count(7), 1u);
  EXPECT_EQ(numbers.at(7), "/dev/serial/by-id/usb-servo-if00");
}
