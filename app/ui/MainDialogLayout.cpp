#include "MainDialogLayout.h"

#include "MainDialogIds.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>

#include <vector>

namespace {
using K = EDialogControlKind;
constexpr long kSorted = wxCB_READONLY | wxCB_SORT;
constexpr long kDescription = wxST_ELLIPSIZE_END;

std::vector<SDialogControl> BuildTable()
{
  // GTK's controls are about 16 dialog units high; every row leaves room for that.
  std::vector<SDialogControl> t = {
      // top row: port, connect, servo, firmware, help
      {IDC_PORT_COMBO, K::ComboBox, {7, 6, 130, 16}, L"", wxCB_READONLY},
      {IDC_CONNECT, K::PushButton, {141, 6, 50, 16}, L"Connect"},
      {IDC_ID_COMBO, K::ComboBox, {195, 6, 150, 16}, L"", kSorted},
      {IDC_FIRMWARE_UPDATE, K::PushButton, {349, 6, 84, 16}, L"Firmware Update"},
      {IDC_PROGRESS, K::Placeholder, {437, 9, 66, 10}},
      {IDC_HELP_BUTTON, K::PushButton, {509, 6, 22, 16}, L""},
      {IDC_START_HERE, K::Label, {7, 23, 80, 9}, L"Start here \u2191"},

      // command panels
      {IDC_QUERY_GROUP, K::GroupBox, {7, 30, 240, 50}, L"Query"},
      {IDC_QUERY_COMBO, K::ComboBox, {13, 42, 186, 16}, L"", kSorted},
      {IDC_QUERY_SEND, K::PushButton, {203, 42, 38, 16}, L"Send"},
      {IDC_QUERY_DESCRIPTION, K::Label, {13, 63, 228, 10}, L"Query Command Description", kDescription},

      {IDC_ACTION_GROUP, K::GroupBox, {7, 84, 240, 50}, L"Action"},
      {IDC_ACTION_COMBO, K::ComboBox, {13, 96, 142, 16}, L"", kSorted},
      {IDC_ACTION_VALUE, K::Edit, {159, 96, 40, 16}, L""},
      {IDC_ACTION_SEND, K::PushButton, {203, 96, 38, 16}, L"Send"},
      {IDC_ACTION_DESCRIPTION, K::Label, {13, 117, 228, 10}, L"Action Command Description", kDescription},

      {IDC_CONFIG_GROUP, K::GroupBox, {7, 138, 240, 50}, L"Configuration"},
      {IDC_CONFIG_COMBO, K::ComboBox, {13, 150, 142, 16}, L"", kSorted},
      {IDC_CONFIG_VALUE, K::Edit, {159, 150, 40, 16}, L""},
      {IDC_CONFIG_SEND, K::PushButton, {203, 150, 38, 16}, L"Send"},
      {IDC_CONFIG_DESCRIPTION,
       K::Label,
       {13, 171, 228, 10},
       L"Configuration Command Description",
       kDescription},

      {IDC_FREE_FORMAT_TEXT, K::Edit, {7, 194, 192, 16}, L""},
      {IDC_FREE_FORMAT_SEND, K::PushButton, {203, 194, 44, 16}, L"Send"},
      {IDC_LOG, K::ListBox, {7, 214, 240, 102}, L"", wxLB_SINGLE | wxLB_HSCROLL},

      {IDC_CLEAR_LOG, K::PushButton, {7, 322, 38, 18}, L"Clear"},
      {IDC_RESET, K::PushButton, {49, 322, 44, 18}, L"RESET"},
      {IDC_DEFAULT, K::PushButton, {97, 322, 50, 18}, L"DEFAULT"},
      // "&&" is how a template shows one "&" on a button.
      {IDC_STOP_LIMP, K::PushButton, {151, 322, 56, 18}, L"STOP && LIMP"},
      {IDC_STOP_HOLD, K::PushButton, {211, 322, 56, 18}, L"STOP && HOLD"},

      // read-outs
      {kUnnamedStatic, K::Label, {255, 34, 38, 9}, L"Position:"},
      {IDC_POSITION_READOUT, K::Placeholder, {295, 30, 90, 18}},
      {kUnnamedStatic, K::Label, {255, 56, 38, 9}, L"Status:"},
      {IDC_STATUS_READOUT, K::Placeholder, {295, 52, 140, 18}},
      {kUnnamedStatic, K::Label, {255, 78, 38, 9}, L"Error:"},
      {IDC_ERROR_READOUT, K::Placeholder, {295, 74, 236, 18}},

      // traces
      {IDC_PLOT_PLACEHOLDER, K::Label, {255, 96, 222, 120}, L"", wxBORDER_SUNKEN},
      {IDC_RESTART, K::PushButton, {481, 96, 50, 16}, L"Restart"},
      {IDC_PAUSE, K::Placeholder, {481, 116, 50, 16}},

      // files and close
      {IDC_LOAD, K::PushButton, {285, 322, 48, 18}, L"Load..."},
      {IDC_SAVE, K::PushButton, {337, 322, 48, 18}, L"Save..."},
      {IDC_CLOSE, K::PushButton, {483, 322, 48, 18}, L"Close"},
  };
  for (int n = 0; n < 8; ++n) {
    const int x = 255 + (n % 4) * 70, row = n / 4;
    t.push_back({kTraceBoxIds[n], K::Placeholder, {x, 220 + row * 28, 66, 16}});
    t.push_back({kTraceReadoutIds[n], K::Label, {x, 237 + row * 28, 66, 9}, L""});
    t.push_back({kActionButtonIds[n], K::PushButton, {x, 278 + row * 20, 66, 16}, L""});
  }
  // Buttons take the template's width; wx would widen every one to its standard width.
  for (SDialogControl& control : t)
    if (control.kind == K::PushButton)
      control.style |= wxBU_EXACTFIT;
  return t;
}

const std::vector<SDialogControl>& Table()
{
  static const std::vector<SDialogControl> table = BuildTable();
  return table;
}
} // namespace

std::span<const SDialogControl> MainDialogControls()
{
  return Table();
}

SDialogRect MainDialogRect(int id)
{
  for (const SDialogControl& c : Table())
    if (c.id == id)
      return c.rect;
  return {};
}
