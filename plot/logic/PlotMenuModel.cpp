#include "PlotMenuModel.h"

#include <algorithm>

namespace {
const SPlotMenuEntry kMenu302[] = {
    {ID_EDIT_CUT, L"Cu&t"},
    {ID_EDIT_COPY, L"&Copy"},
    {ID_SPECTRUM_COPY_ALL, L"Copy &All"},
    {ID_EDIT_PASTE, L"&Paste"},
    {ID_SPECTRUM_HOLD, L"&Hold"},
    {ID_SPECTRUM_CLEAR_HOLD, L"C&lear Hold"},
    {ID_SPECTRUM_MASK, L"&Mask"},
    {ID_SPECTRUM_UNMASK, L"Un&Mask"},
    {ID_SPECTRUM_ENABLE_MASKING, L"&Enable Masking", true, true},
    {ID_SPECTRUM_SETTINGS, L"Settings..."},
};

void Remove(std::vector<SPlotMenuEntry>& menu, UINT id)
{
  std::erase_if(menu, [id](const SPlotMenuEntry& entry) { return entry.id == id; });
}

SPlotMenuEntry* Entry(std::vector<SPlotMenuEntry>& menu, UINT id)
{
  auto it =
      std::find_if(menu.begin(), menu.end(), [id](const SPlotMenuEntry& entry) { return entry.id == id; });
  return it == menu.end() ? nullptr : &*it;
}
} // namespace

std::vector<SPlotMenuEntry> BuildPlotMenu(const SPlotMenuState& state)
{
  std::vector<SPlotMenuEntry> menu(std::begin(kMenu302), std::end(kMenu302));
  if (state.allowPaste)
    Entry(menu, ID_EDIT_PASTE)->enabled = state.canPaste;

  if (state.traceCount > 0) {
    if (!state.allowCut || !state.activeIsOwnedCopy)
      Remove(menu, ID_EDIT_CUT);
    if (!state.holdPresent)
      Remove(menu, ID_SPECTRUM_CLEAR_HOLD);
    if (state.traceCount == 1)
      Remove(menu, ID_SPECTRUM_COPY_ALL);
    if (!state.hasCursorPoint) {
      Remove(menu, ID_SPECTRUM_MASK);
      Remove(menu, ID_SPECTRUM_UNMASK);
    } else {
      Remove(menu, state.cursorPointMasked ? ID_SPECTRUM_MASK : ID_SPECTRUM_UNMASK);
    }
    Entry(menu, ID_SPECTRUM_ENABLE_MASKING)->checked = state.maskEnabled;
  } else {
    for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_SPECTRUM_COPY_ALL, ID_SPECTRUM_HOLD, ID_SPECTRUM_CLEAR_HOLD,
                    ID_SPECTRUM_MASK, ID_SPECTRUM_UNMASK, ID_SPECTRUM_ENABLE_MASKING})
      Remove(menu, id);
  }

  if (!state.allowSettings)
    Remove(menu, ID_SPECTRUM_SETTINGS);
  if (!state.allowPaste)
    Remove(menu, ID_EDIT_PASTE);
  if (!state.allowHold)
    Remove(menu, ID_SPECTRUM_HOLD);
  if (!state.allowMasking)
    for (UINT id : {ID_SPECTRUM_MASK, ID_SPECTRUM_UNMASK, ID_SPECTRUM_ENABLE_MASKING})
      Remove(menu, id);
  return menu;
}
