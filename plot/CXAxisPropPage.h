#pragma once
// The X axis page of the plot's Settings sheet ("X axis"): the limits with their automatic boxes
// and the grid switch. The Settings command fills the members and reads them back after OK.
#include "AxisPageValues.h"

#include <wx/panel.h>

class CXAxisPropPage : public wxPanel, public SXAxisPageValues {
public:
  explicit CXAxisPropPage(wxWindow* book);

  // Loading shows the members; saving reads them and is false when a limit is not a number.
  bool DoDataExchange(bool save);
};
