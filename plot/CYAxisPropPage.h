#pragma once
// The Y axis page of the plot's Settings sheet ("Y axis"): the limits with their automatic boxes,
// the scaling of several traces against each other, the log scale and the grid switch. Its
// controls are enabled by the rules of YAxisPageEnables.
#include "AxisPageValues.h"

#include <wx/panel.h>

class CYAxisPropPage : public wxPanel, public SYAxisPageValues {
public:
  explicit CYAxisPropPage(wxWindow* book);

  // Loading shows the members; saving reads them and is false when a number is not one. Both
  // apply the enabling rules to the values exchanged.
  bool DoDataExchange(bool save);

private:
  void OnScalingClicked(wxCommandEvent& event);
};
