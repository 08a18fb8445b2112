#include "CStringPrinting.h"
#include "CZSpectrumWnd.h"
#include "ClipboardTextHead.h"
#include "GuiTestSupport.h"
#include "MessageBoxTypes.h"
#include "ModalTestSupport.h"
#include "PlotClipboardText.h"
#include "PlotTestSupport.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/clipbrd.h>
#include <wx/frame.h>

namespace {
// Remembers what the context menu offered, and chooses `choose` (nothing unless set).
class MenuPlot : public CZSpectrumWnd {
public:
  std::vector<SPlotMenuEntry> offered;
  UINT choose = 0;

protected:
  UINT TrackPopupMenu(const std::vector<SPlotMenuEntry>& entries, const wxPoint&) override
  {
    offered = entries;
    return choose;
  }
};

template <typename Plot = CZSpectrumWnd> struct ClipboardFrame {
  ClipboardFrame()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "plot", wxPoint(30, 30), wxSize(400, 300));
    plot = new Plot();
    plot->Create(frame, 1027, wxPoint(0, 0), wxSize(380, 260));
    plot->SetColours(RGB(57, 57, 57), RGB(20, 20, 80));
    plot->AllowPaste(true);
    frame->Show();
    PumpEvents(50);
  }
  ~ClipboardFrame()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxFrame* frame;
  Plot* plot;
};

wxString ClipboardText()
{
  wxString text;
  if (wxTheClipboard->Open()) {
    wxTextDataObject data;
    if (wxTheClipboard->GetData(data))
      text = data.GetText();
    wxTheClipboard->Close();
  }
  return text;
}

void SetClipboardText(const wxString& text)
{
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject(text));
  wxTheClipboard->Close();
}
// Another process holding the clipboard with a text (options of ClipboardOwnerTool before it); it
// lets go when another copy takes over.
class ForeignCopy {
public:
  explicit ForeignCopy(const std::string& text, std::vector<std::string> options = {})
  {
    int out[2];
    if (pipe(out) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    options.push_back(text);
    std::vector<const char*> argv{HVX_CLIPBOARD_OWNER};
    for (const std::string& option : options)
      argv.push_back(option.c_str());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, HVX_CLIPBOARD_OWNER, &actions, nullptr, const_cast<char**>(argv.data()),
                    environ) != 0)
      m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char said[8] = {};
    m_ready = read(out[0], said, 6) == 6 && std::string(said) == "ready\n";
    // Kept open: it says what it was asked.
    m_said = out[0];
    fcntl(m_said, F_SETFL, O_NONBLOCK);
    PumpEvents(50);
  }
  ~ForeignCopy()
  {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_said);
  }
  bool Ready() const { return m_ready; }
  bool Running() const { return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0; }
  // How often it was asked for its text so far: it says so before it answers.
  int Asked()
  {
    char buffer[256];
    for (ssize_t got; (got = read(m_said, buffer, sizeof buffer)) > 0;)
      m_heard.append(buffer, size_t(got));
    int asked = 0;
    for (size_t at = m_heard.find("asked\n"); at != std::string::npos; at = m_heard.find("asked\n", at + 1))
      ++asked;
    return asked;
  }

private:
  pid_t m_pid = -1;
  int m_said = -1;
  bool m_ready = false;
  std::string m_heard;
};
// Until another program's copy has been fetched in the background, the offer knows nothing of it.
bool CopyFetched()
{
  return WaitUntil(
      [] {
        std::wstring head;
        return ClipboardTextHead(kPasteOfferLines, head) != EClipboardHead::NotYet;
      },
      20000);
}

} // namespace

TEST(CZSpectrumWndClipboard, AnotherProgramsCopyIsOfferedUntilItsNextCopy)
{
  ClipboardFrame<> f;
  {
    // Its name is Latin-1, not UTF-8: offered, so Paste reads it too.
    ForeignCopy sheet("Scan \xB5m\r\n\r\nTime\tHeight\r\n0\tnan\r\n1\t2\r\n");
    ASSERT_TRUE(sheet.Ready());
    ASSERT_TRUE(CopyFetched());
    EXPECT_TRUE(f.plot->CanPaste());
    EXPECT_TRUE(f.plot->CanPaste());
    f.plot->OnEditPaste();
    ASSERT_EQ(f.plot->GetTraceCount(), 1);
    EXPECT_EQ(f.plot->GetActiveTrace()->GetName(), L"Paste: Scan \u00B5m");
    EXPECT_EQ(f.plot->GetActiveTrace()->GetY(1), 2.0f);
  }
  ForeignCopy words("just words\nand more words\n1\t2\n");
  ASSERT_TRUE(words.Ready());
  ASSERT_TRUE(CopyFetched());
  EXPECT_FALSE(f.plot->CanPaste());
}

TEST(CZSpectrumWndClipboard, ACopyOfferedOnlyAsLatin1IsOfferedAndPasted)
{
  ClipboardFrame<> f;
  ForeignCopy old("Scan \xB5m\nTime\tHeight\n0\t1\n1\t2\n", {"--string-only"});
  ASSERT_TRUE(old.Ready());
  ASSERT_TRUE(CopyFetched());
  EXPECT_TRUE(f.plot->CanPaste());
  f.plot->OnEditPaste();
  ASSERT_EQ(f.plot->GetTraceCount(), 1);
  EXPECT_EQ(f.plot->GetActiveTrace()->GetName(), L"Paste: Scan \u00B5m");
  EXPECT_EQ(old.Asked(), 2); // the offer's fetch, then Paste
}

// An owner that handed its copy over for the offer, then refuses: Paste asks once and says so.
TEST(CZSpectrumWndClipboard, PasteAsksOnceAndSaysWhenTheTextCannotBeRead)
{
  ClipboardFrame<> f;
  ForeignCopy fickle("Scan\nTime\tHeight\n0\t1\n1\t2\n", {"--refuse-after", "1"});
  ASSERT_TRUE(fickle.Ready());
  ASSERT_TRUE(CopyFetched());
  ASSERT_TRUE(f.plot->CanPaste());
  CModalAnswerQueue answers;
  answers.Queue(IDOK);
  f.plot->OnEditPaste();
  EXPECT_EQ(f.plot->GetTraceCount(), 0);
  ASSERT_EQ(answers.Requests().size(), 1u);
  EXPECT_EQ(answers.Requests()[0].kind, EModalKind::MessageBox) << answers.Requests()[0].text.GetString();
  EXPECT_EQ(fickle.Asked(), 2);
}

// Paste chosen while the offer's fetch is still on its way takes that fetch's answer: the owner
// is asked once in all.
TEST(CZSpectrumWndClipboard, PasteDuringTheOffersFetchDoesNotAskAgain)
{
  ClipboardFrame<> f;
  ForeignCopy slow("Scan\nTime\tHeight\n0\t1\n1\t2\n", {"--late-after", "0", "--late-ms", "1500"});
  ASSERT_TRUE(slow.Ready());
  ASSERT_TRUE(WaitUntil([&] { return slow.Asked() == 1; }));
  std::wstring head;
  ASSERT_EQ(ClipboardTextHead(kPasteOfferLines, head), EClipboardHead::NotYet);
  f.plot->OnEditPaste();
  ASSERT_EQ(f.plot->GetTraceCount(), 1);
  EXPECT_EQ(f.plot->GetActiveTrace()->GetName(), L"Paste: Scan");
  EXPECT_EQ(slow.Asked(), 1);
}

// A menu command chosen while Paste waits for a slow owner runs once that Paste is over.
TEST(CZSpectrumWndClipboard, AMenuCommandChosenDuringPastesWaitRunsAfterIt)
{
  ClipboardFrame<MenuPlot> f;
  MenuPlot* plot = f.plot;
  std::vector<int> tracesWhenRun;
  auto* target = new wxWindow(f.frame, wxID_ANY, wxPoint(390, 0), wxSize(4, 4));
  target->Bind(wxEVT_MENU, [&](wxCommandEvent&) { tracesWhenRun.push_back(plot->GetTraceCount()); });
  CZSpectrumWnd::UserMenuItem item;
  item.commandId = 40123;
  item.target = target;
  plot->GetUserMenuItems().AddTail(item);
  plot->choose = 40123;
  {
    ForeignCopy slow("Scan\nTime\tHeight\n0\t1\n1\t2\n", {"--late-after", "1"});
    ASSERT_TRUE(slow.Ready());
    ASSERT_TRUE(CopyFetched());
    // Chosen from the menu once the wait has begun.
    plot->CallAfter([plot] {
      wxContextMenuEvent event(wxEVT_CONTEXT_MENU, plot->GetId(), wxDefaultPosition);
      event.SetEventObject(plot);
      plot->GetEventHandler()->ProcessEvent(event);
    });
    plot->OnEditPaste();
    EXPECT_EQ(plot->GetTraceCount(), 1);
    EXPECT_TRUE(tracesWhenRun.empty());
    ASSERT_TRUE(WaitUntil([&] { return !tracesWhenRun.empty(); }));
    EXPECT_EQ(tracesWhenRun, std::vector<int>{1});
  }
}

TEST(CZSpectrumWndClipboard, TheMenuComesUpWhileTheClipboardsOwnerDoesNotAnswer)
{
  ClipboardFrame<MenuPlot> f;
  MenuPlot* plot = f.plot;
  {
    // Its loop is busy for longer than any test takes, and then it exits without a word.
    ForeignCopy busy("Scan\nTime\tHeight\n0\t1\n1\t2\n", {"--stall", "20"});
    ASSERT_TRUE(busy.Ready());
    PumpEvents(50);
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, plot->GetId(), wxDefaultPosition);
    event.SetEventObject(plot);
    plot->GetEventHandler()->ProcessEvent(event);
    // Paste is not offered before the copy could be looked at.
    EXPECT_TRUE(busy.Running());
    const auto paste = std::find_if(plot->offered.begin(), plot->offered.end(),
                                    [](const SPlotMenuEntry& entry) { return entry.id == ID_EDIT_PASTE; });
    ASSERT_NE(paste, plot->offered.end());
    EXPECT_FALSE(paste->enabled);
  }
}

TEST(CZSpectrumWndClipboard, CopyCutAndPasteRoundTripThroughTheClipboard)
{
  // The traces outlive the window, which reads them until its last paint.
  auto scan = MakeTrace(L"Scan", {1, 3, 1e6f}, {2, 4, 0.25f});
  auto failed = MakeTrace(L"Failed", {1, 2}, {std::numeric_limits<float>::quiet_NaN(), 4});
  ClipboardFrame<> f;
  scan->SetXLabel(L"Time");
  f.plot->SetYLabel(L"Height");
  f.plot->AddTrace(scan.get(), false, false);

  f.plot->OnEditCopy();
  EXPECT_EQ(ClipboardText(), "Scan\nTime\tHeight\n1\t2\n3\t4\n1e+06\t0.25\n");
  ASSERT_TRUE(f.plot->CanPaste());
  f.plot->OnEditPaste();
  ASSERT_EQ(f.plot->GetTraceCount(), 2);
  CSpectrumData* pasted = f.plot->FindTrace(L"Paste: Scan");
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->GetX(2), 1e6f);
  EXPECT_EQ(pasted->GetXLabel(), L"Time");

  // Cut takes the pasted copy off the plot and leaves it on the clipboard.
  f.plot->BringTraceToFront(L"Paste: Scan");
  f.plot->OnEditCut();
  EXPECT_EQ(f.plot->GetTraceCount(), 1);
  EXPECT_EQ(f.plot->GetActiveTrace(), scan.get());
  EXPECT_TRUE(ClipboardText().StartsWith("Scan\n"));

  // A copy of failed readings is offered back; once the clipboard holds other text, that counts.
  f.plot->AddTrace(failed.get(), false, false);
  f.plot->BringTraceToFront(L"Failed");
  f.plot->OnEditCopy();
  EXPECT_TRUE(f.plot->CanPaste());
  SetClipboardText("just words");
  EXPECT_FALSE(f.plot->CanPaste());
}

TEST(CZSpectrumWndClipboard, PastesASpreadsheetsCopyWithOneHeaderRowAndCrLf)
{
  ClipboardFrame<> f;
  SetClipboardText("Time (s)\tPosition (deg)\r\n0.5\t10\r\n1\t12.5\r\n1.5\t-3\r\n");
  EXPECT_TRUE(f.plot->CanPaste());
  f.plot->OnEditPaste();
  ASSERT_EQ(f.plot->GetTraceCount(), 1);
  const CSpectrumData& pasted = *f.plot->GetActiveTrace();
  EXPECT_EQ(pasted.GetName(), L"Paste: 1");
  EXPECT_EQ(pasted.GetXLabel(), L"Time ");
  EXPECT_EQ(pasted.GetXUnits(), L"s");
  EXPECT_EQ(pasted.GetYLabel(), L"Position ");
  EXPECT_EQ(pasted.GetYUnits(), L"deg");
  EXPECT_EQ(pasted.GetIndexRange(), 3);
  EXPECT_EQ(pasted.GetY(2), -3.0f);

  SetClipboardText("just words");
  EXPECT_FALSE(f.plot->CanPaste());
}
