// The Load and Save buttons: their file dialogs, the captions and profile after a load, and the
// messages. The file's rows themselves are tested headless (SettingsFile_test.cpp).
#include "MainDialogFixture.h"
#include "SettingsFile.h"
#include "TestFiles.h"

namespace {
using Settings = MainDialogTest;
} // namespace

TEST_F(Settings, SaveWritesTheChosenFileAndLoadShowsAndKeepsItsDefinitions)
{
  OpenDialog();
  TempFolder temp;
  answers.Queue(IDOK, {Wide(temp.Path() / "mine")});
  ASSERT_TRUE(Click(IDC_SAVE));
  ASSERT_EQ(answers.Requests().size(), 1u);
  EXPECT_EQ(answers.Requests()[0].kind, EModalKind::FileSave);
  EXPECT_EQ(answers.Requests()[0].defaultPath, L"*.csv");
  EXPECT_EQ(answers.Requests()[0].filter, L"HVXProConfig Settings (*.csv)|*.csv");
  EXPECT_NE(ReadBytes(temp.Path() / "mine.csv").find("Trace 1,Command,#<ID>QD\r\n"), std::string::npos);
  EXPECT_FALSE(dialog->IsBusy());

  WriteBytes(temp.Path() / "other.csv", "HVXProConfig,Version,1\r\nTrace 2,Title,Load\r\n"
                                        "Trace 2,Command,#<ID>QL|#<ID>QT\r\nAction 3,Title,Spin\r\n");
  answers.Queue(IDOK, {Wide(temp.Path() / "other.csv")});
  ASSERT_TRUE(Click(IDC_LOAD));
  EXPECT_EQ(answers.Requests()[1].kind, EModalKind::FileOpen);
  EXPECT_EQ(answers.Requests()[1].defaultPath, L"default.csv");
  EXPECT_EQ(Text(IDC_TRACE2), L"Load");
  EXPECT_EQ(Text(IDC_ACTION1 + 2), L"Spin");
  EXPECT_EQ(Text(IDC_TRACE1), L"Position");
  EXPECT_EQ(dialog->Profile().traceCommand[1], L"#<ID>QL\r\n#<ID>QT");
  // In the profile before the window closes: a crash now loses nothing.
  EXPECT_EQ(app->GetProfileString(L"Trace 2", L"Command"), L"#<ID>QL\r\n#<ID>QT");
  EXPECT_EQ(app->GetProfileString(L"Action 3", L"Title"), L"Spin");
  EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(Settings, AnUnknownFileOrAFailedSaveIsReported)
{
  OpenDialog();
  TempFolder temp;
  WriteBytes(temp.Path() / "table.csv", "Config,Status\r\nTrace 1,Title,x\r\n");
  answers.Queue(IDOK, {Wide(temp.Path() / "table.csv")});
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_LOAD));
  EXPECT_EQ(MessageTexts().back(), L"Unknown file format!");
  EXPECT_EQ(Text(IDC_TRACE1), L"Position");

  const CString missing = Wide(temp.Path() / "no folder" / "s.csv");
  answers.Queue(IDOK, {missing});
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_SAVE));
  EXPECT_EQ(MessageTexts().back(), (L"The settings could not be saved to " + missing + L"!").Str());
  EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(Settings, AFileTooLargeToBeSettingsIsRefusedAndChangesNothing)
{
  OpenDialog();
  TempFolder temp;
  // A settings file in form, one byte over the limit: a log or an export picked by mistake.
  std::string big = "HVXProConfig,Version,1\r\nTrace 1,Title,Big\r\nAction 1,Title,Huge\r\n";
  big.resize(size_t(kSettingsFileLimit) + 1, '\n');
  WriteBytes(temp.Path() / "big.csv", big);
  const STraceActionProfile before = dialog->Profile();
  answers.Queue(IDOK, {Wide(temp.Path() / "big.csv")});
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_LOAD));
  EXPECT_EQ(MessageTexts().back(),
            L"This file is too large to be a settings file (over 1 MB); nothing was loaded.");
  EXPECT_EQ(Text(IDC_TRACE1), L"Position");
  EXPECT_EQ(Text(IDC_ACTION1), before.actionTitle[0].Str());
  for (int n = 0; n < kTraceCount; ++n) {
    EXPECT_EQ(dialog->Profile().traceTitle[n], before.traceTitle[n]);
    EXPECT_EQ(dialog->Profile().traceCommand[n], before.traceCommand[n]);
    EXPECT_EQ(dialog->Profile().actionTitle[n], before.actionTitle[n]);
    EXPECT_EQ(dialog->Profile().actionCommand[n], before.actionCommand[n]);
  }
  EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(Settings, ALoadThatRenamesARunningTraceStillLetsItBeSwitchedOff)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Click(IDC_TRACE2));
  ASSERT_EQ(dialog->PlotWindow()->GetTraceCount(), 1);
  TempFolder temp;
  WriteBytes(temp.Path() / "renamed.csv", "HVXProConfig,Version,1\r\nTrace 2,Title,Velocity\r\n");
  answers.Queue(IDOK, {Wide(temp.Path() / "renamed.csv")});
  ASSERT_TRUE(Click(IDC_LOAD));
  EXPECT_EQ(Text(IDC_TRACE2), L"Velocity");
  EXPECT_EQ(dialog->TraceData(1).GetName(), L"Velocity");
  ASSERT_TRUE(Click(IDC_TRACE2));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 0) << "switched off, it leaves the plot";
}

TEST_F(Settings, ALongTitleKeepsItsStartClearOfTheColourMarkAndWholeInItsToolTip)
{
  OpenDialog();
  const std::wstring traceTitle = L"Trace name that overflows any button of the window";
  const std::wstring actionTitle = L"Action name that overflows any button of the window";
  TempFolder temp;
  WriteBytes(temp.Path() / "long.csv",
             "HVXProConfig,Version,1\r\nTrace 4,Title,Trace name that overflows any button of the window\r\n"
             "Action 5,Title,Action name that overflows any button of the window\r\n");
  answers.Queue(IDOK, {Wide(temp.Path() / "long.csv")});
  ASSERT_TRUE(Click(IDC_LOAD));
  for (const auto& [id, title] :
       {std::pair{int(IDC_TRACE4), traceTitle}, std::pair{IDC_ACTION1 + 4, actionTitle}}) {
    auto* button = Get<wxAnyButton>(id);
    const std::wstring label = Text(id);
    ASSERT_GT(label.size(), 2u);
    EXPECT_EQ(label.back(), L'\u2026');
    EXPECT_TRUE(title.starts_with(label.substr(0, label.size() - 1))) << "cut at its end";
    EXPECT_EQ(button->GetToolTipText().ToStdWstring(), title);
    // Measured afresh, image and text side by side take no more than the button.
    button->SetLabel(L" ");
    button->SetLabel(label);
    button->InvalidateBestSize();
    EXPECT_LE(button->GetBestSize().x, button->GetSize().x);
  }
  EXPECT_EQ(dialog->Profile().traceTitle[3], traceTitle.c_str()) << "the profile keeps the whole title";
  dialog->Raise();
  PumpEvents(200);
  EXPECT_FALSE(SaveSnapshot(dialog.get(), "main_dialog_long_titles").empty());

  WriteBytes(temp.Path() / "short.csv", "HVXProConfig,Version,1\r\nTrace 4,Title,Load\r\n");
  answers.Queue(IDOK, {Wide(temp.Path() / "short.csv")});
  ASSERT_TRUE(Click(IDC_LOAD));
  EXPECT_EQ(Text(IDC_TRACE4), L"Load");
  EXPECT_TRUE(Get<wxAnyButton>(IDC_TRACE4)->GetToolTipText().empty());
}
