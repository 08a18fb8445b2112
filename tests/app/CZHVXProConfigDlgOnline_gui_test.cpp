// The update server's downloads as the window meets them when the server stalls. The transfer
// itself (limits, the wait beside the caller) is tested headless in HttpGet_test.cpp.
#include "MainDialogFixture.h"

#include "CompatibilityTable.h"
#include "DownloadLimits.h"
#include "LoopbackHttpServer.h"

#include <wx/timer.h>

#include <algorithm>

namespace {
class Downloads : public MainDialogTest {
protected:
  ~Downloads() override { OverrideDownloadStall(std::nullopt); }
  size_t StallLines() const
  {
    const auto log = Log();
    return size_t(std::count_if(log.begin(), log.end(), [](const std::wstring& line) {
      return line.find(L"stalled and was abandoned") != std::wstring::npos;
    }));
  }
  LoopbackHttpServer server;
};
} // namespace

TEST_F(Downloads, AStalledTableIsAbandonedWithOneLogLineAndTheWindowOpens)
{
  // 150 bytes at 20 a second would come within the table's 10 s; under a stall threshold of
  // 1000 bytes a second for 1 s it is given up first.
  OverrideDownloadStall(SStallThreshold{1000, 1});
  server.Serve(kCompatibilityTablePath, "Config,Status\n99.0.0,public\n" + std::string(120, '\n'),
               EHttpVariant::Drip);
  updateServer.Set(server.BaseUrl().c_str());
  OpenDialog();
  EXPECT_EQ(StallLines(), 1u);
  const std::string path = kCompatibilityTablePath;
  const std::wstring line = L"The download of " + std::wstring(path.begin(), path.end()) +
                            L" from the update server stalled and was abandoned.";
  const auto log = Log();
  EXPECT_NE(std::find(log.begin(), log.end(), line), log.end());
  EXPECT_TRUE(answers.Requests().empty()) << "no offer from a table that never came";
  EXPECT_FALSE(dialog->IsBusy());
  EXPECT_FALSE(dialog->IsClosed());
}

TEST_F(Downloads, TheWindowsLoopRunsWhileATransferIsUnderWayAndNoTimerWorkDoes)
{
  // The server holds the table back until a timer of the window's own thread has ticked: a
  // transfer on the window's thread would never see it tick, and would give up instead.
  server.Serve(kCompatibilityTablePath, "Config,Status\n");
  updateServer.Set(server.BaseUrl().c_str());
  OpenDialog();
  server.Serve(kCompatibilityTablePath, "Config,Status\n", EHttpVariant::Held);
  bool busyWhileWaiting = false;
  wxTimer ticker;
  ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    busyWhileWaiting = dialog->IsBusy();
    server.Release();
  });
  ticker.StartOnce(50);
  EXPECT_TRUE(dialog->GetCompatibilityCsv());
  EXPECT_TRUE(busyWhileWaiting) << "the dialog's timer work is held off meanwhile";
  EXPECT_FALSE(dialog->IsBusy());
  EXPECT_EQ(StallLines(), 0u);
}
