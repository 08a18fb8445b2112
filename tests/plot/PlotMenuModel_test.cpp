#include "PlotMenuModel.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

namespace {
class CursorPlot : public CZSpectrumPlot {
public:
  void SetCursor(int index) { m_cursorIndex = index; }
};

std::vector<UINT> Ids(const std::vector<SPlotMenuEntry>& menu)
{
  std::vector<UINT> ids;
  for (const SPlotMenuEntry& entry : menu)
    ids.push_back(entry.id);
  return ids;
}

const SPlotMenuEntry* Find(const std::vector<SPlotMenuEntry>& menu, UINT id)
{
  for (const SPlotMenuEntry& entry : menu)
    if (entry.id == id)
      return &entry;
  return nullptr;
}
} // namespace

TEST(PlotMenuModel, OneTraceWithDefaultPermissionsAndNoCursorPoint)
{
  CursorPlot plot;
  auto a = MakeTrace(L"A", {0, 1, 2}, {0, 1, 2});
  a->EnableMask(true);
  plot.AddTrace(a.get(), false, false);

  const std::vector<SPlotMenuEntry> menu = BuildPlotMenu(plot.MenuState(true));
  EXPECT_EQ(Ids(menu), (std::vector<UINT>{ID_EDIT_COPY, ID_SPECTRUM_HOLD, ID_SPECTRUM_ENABLE_MASKING,
                                          ID_SPECTRUM_SETTINGS}));
  EXPECT_EQ(menu[1].caption, L"&Hold");
  EXPECT_TRUE(Find(menu, ID_SPECTRUM_ENABLE_MASKING)->checked);

  // No trace: only what needs none.
  CursorPlot empty;
  empty.AllowPaste(true);
  EXPECT_EQ(Ids(BuildPlotMenu(empty.MenuState(false))),
            (std::vector<UINT>{ID_EDIT_PASTE, ID_SPECTRUM_SETTINGS}));
  EXPECT_FALSE(BuildPlotMenu(empty.MenuState(false))[0].enabled);
  EXPECT_TRUE(BuildPlotMenu(empty.MenuState(true))[0].enabled);
}

TEST(PlotMenuModel, CursorPointOffersMaskOrUnMaskByThePointsState)
{
  CursorPlot plot;
  auto a = MakeTrace(L"A", {0, 1, 2}, {0, 1, 2});
  a->Mask(1, true);
  plot.AddTrace(a.get(), false, false);

  plot.SetCursor(1);
  std::vector<SPlotMenuEntry> menu = BuildPlotMenu(plot.MenuState(false));
  EXPECT_TRUE(Find(menu, ID_SPECTRUM_UNMASK));
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_MASK));
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_ENABLE_MASKING)->checked);

  plot.SetCursor(2);
  menu = BuildPlotMenu(plot.MenuState(false));
  EXPECT_TRUE(Find(menu, ID_SPECTRUM_MASK));
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_UNMASK));

  plot.AllowMasking(false);
  menu = BuildPlotMenu(plot.MenuState(false));
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_MASK) || Find(menu, ID_SPECTRUM_UNMASK) ||
               Find(menu, ID_SPECTRUM_ENABLE_MASKING));
}

TEST(PlotMenuModel, CutOnlyForAnOwnedActiveCopyClearHoldAndCopyAllByState)
{
  CursorPlot plot;
  auto a = MakeTrace(L"A", {0, 1}, {0, 1});
  plot.AddTrace(a.get(), false, true);
  plot.AllowCut(true);
  EXPECT_TRUE(Find(BuildPlotMenu(plot.MenuState(false)), ID_EDIT_CUT));

  plot.HoldActiveTrace();
  std::vector<SPlotMenuEntry> menu = BuildPlotMenu(plot.MenuState(false));
  EXPECT_TRUE(Find(menu, ID_SPECTRUM_CLEAR_HOLD));
  EXPECT_TRUE(Find(menu, ID_SPECTRUM_COPY_ALL));
  EXPECT_EQ(Ids(menu).front(), ID_EDIT_CUT);

  CursorPlot other;
  auto b = MakeTrace(L"B", {0, 1}, {0, 1});
  other.AddTrace(b.get(), false, false);
  other.AllowCut(true);
  other.AllowHold(false);
  other.AllowSettings(false);
  menu = BuildPlotMenu(other.MenuState(false));
  EXPECT_FALSE(Find(menu, ID_EDIT_CUT)); // the caller's own trace is not cut
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_HOLD));
  EXPECT_FALSE(Find(menu, ID_SPECTRUM_SETTINGS));
}
