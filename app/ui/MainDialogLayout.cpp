#include "MainDialogLayout.h"

#include "MainDialogIds.h"

#include <wx/combobox.h>
#include <wx/stattext.h>

#include <vector>

namespace {
using K = EDialogControlKind;
constexpr long kSorted = wxCB_READONLY | wxCB_SORT;
constexpr long kDescription = wxST_ELLIPSIZE_END;

std::vector<SDialogControl> BuildTable()
{
  std::vector<SDialogControl> t = {
      // top row: port, connect, servo, firmware, help
      {IDC_PORT_COMBO, K::ComboBox, {7, 7, 140, 14}, L"", wxCB_READONLY},
      {IDC_CONNECT, K::PushButton, {151, 6, 50, 16}, L"Connect"},
      {IDC_ID_COMBO, K::ComboBox, {205, 7, 150, 14}, L"", kSorted},
      {IDC_FIRMWARE_UPDATE, K::PushButton, {359, 6, 76, 16}, L"Firmware Update"},
      {IDC_PROGRESS, K::Placeholder, {439, 9, 66, 10}},
      {IDC_HELP_BUTTON, K::PushButton, {509, 4, 22, 20}, L""},
      {IDC_START_HERE, K::Label, {7, 24, 80, 9}, L"Start here \u2191"},

      // command panels
      {IDC_QUERY_GROUP, K::GroupBox, {7, 36, 256, 46}, L"Query"},
      {IDC_QUERY_COMBO, K::ComboBox, {13, 48, 204, 14}, L"", kSorted},
      {IDC_QUERY_SEND, K::PushButton, {221, 47, 36, 16}, L"Send"},
      {IDC_QUERY_DESCRIPTION, K::Label, {13, 67, 244, 10}, L"Query Command Description", kDescription},

      {IDC_ACTION_GROUP, K::GroupBox, {7, 86, 256, 46}, L"Action"},
      {IDC_ACTION_COMBO, K::ComboBox, {13, 98, 160, 14}, L"", kSorted},
      {IDC_ACTION_VALUE, K::Edit, {177, 98, 40, 14}, L""},
      {IDC_ACTION_SEND, K::PushButton, {221, 97, 36, 16}, L"Send"},
      {IDC_ACTION_DESCRIPTION, K::Label, {13, 117, 244, 10}, L"Action Command Description", kDescription},

      {IDC_CONFIG_GROUP, K::GroupBox, {7, 136, 256, 46}, L"Configuration"},
      {IDC_CONFIG_COMBO, K::ComboBox, {13, 148, 160, 14}, L"", kSorted},
      {IDC_CONFIG_VALUE, K::Edit, {177, 148, 40, 14}, L""},
      {IDC_CONFIG_SEND, K::PushButton, {221, 147, 36, 16}, L"Send"},
      {IDC_CONFIG_DESCRIPTION, K::Label, {13, 167, 244, 10}, L"Configuration Command Description",
       kDescription},

      {IDC_FREE_FORMAT_TEXT, K::Edit, {7, 188, 210, 14}, L""},
      {IDC_FREE_FORMAT_SEND, K::PushButton, {221, 187, 42, 16}, L"Send"},
      {IDC_LOG, K::ListBox, {7, 208, 256, 106}, L"", wxLB_SINGLE | wxLB_HSCROLL},

      {IDC_CLEAR_LOG, K::PushButton, {7, 320, 40, 18}, L"Clear"},
      {IDC_RESET, K::PushButton, {51, 320, 46, 18}, L"RESET"},
      {IDC_DEFAULT, K::PushButton, {101, 320, 50, 18}, L"DEFAULT"},
      // "&&" is how a template shows one "&" on a button.
      {IDC_STOP_LIMP, K::PushButton, {155, 320, 52, 18}, L"STOP && LIMP"},
      {IDC_STOP_HOLD, K::PushButton, {211, 320, 52, 18}, L"STOP && HOLD"},

      // read-outs
      {kUnnamedStatic, K::Label, {271, 38, 40, 9}, L"Position:"},
      {IDC_POSITION_READOUT, K::Placeholder, {313, 34, 90, 18}},
      {kUnnamedStatic, K::Label, {271, 60, 40, 9}, L"Status:"},
      {IDC_STATUS_READOUT, K::Placeholder, {313, 56, 130, 18}},
      {kUnnamedStatic, K::Label, {271, 82, 40, 9}, L"Error:"},
      {IDC_ERROR_READOUT, K::Placeholder, {313, 78, 218, 18}},

      // traces
      {IDC_PLOT_PLACEHOLDER, K::Label, {271, 100, 260, 116}, L"", wxBORDER_SUNKEN},
      {IDC_RESTART, K::PushButton, {481, 220, 50, 14}, L"Restart"},
      {IDC_PAUSE, K::Placeholder, {481, 247, 50, 14}},

      // files and close
      {IDC_LOAD, K::PushButton, {271, 320, 48, 18}, L"Load..."},
      {IDC_SAVE, K::PushButton, {323, 320, 48, 18}, L"Save..."},
      {IDC_CLOSE, K::PushButton, {483, 320, 48, 18}, L"Close"},
  };
  for (int n = 0; n < 8; ++n) {
    const int column = n % 4, row = n / 4;
    t.push_back({kTraceBoxIds[n], K::Placeholder, {271 + column * 52, 220 + row * 27, 48, 14}});
    t.push_back({kTraceReadoutIds[n], K::Label, {271 + column * 52, 235 + row * 27, 48, 9}, L""});
    t.push_back({kActionButtonIds[n], K::PushButton, {271 + column * 65, 276 + row * 20, 61, 16}, L""});
  }
  return t;
}

const std::vector<SDialogControl>& Table()
{
  static const std::vector<SDialogControl> table = BuildTable();
  return table;
}
} // namespace

std::span<const SDialogControl> MainDialogControls() { return Table(); }

SDialogRect MainDialogRect(int id)
{
  for (const SDialogControl& c : Table())
    if (c.id == id)
      return c.rect;
  return {};
}
