#pragma once
// Places a dialog's controls at run time: the caller lists controls (single items, label and
// field pairs, buttons), each shown or hidden as it is listed, and Layout puts the listed ones in
// rows of equal columns from the top, one row under the other. Hidden controls take no room.
// Lengths are pixels of the dialog's client area; ids are the dialog's control ids.
#include "CList.h"
#include "CObject.h"
#include "CString.h"
#include "DlgLayoutPlan.h"
#include "WinTypes.h"

#include <deque>

class wxWindow;

class CZDlgTools : public CObject {
public:
  struct SDlgItemPairID {
    int id1 = 0;  // the control, or the label of a pair
    int id2 = 0;  // the field of a pair
    int kind = 0; // 0 single item, 3 label and field pair, 4 button
  };

  explicit CZDlgTools(wxWindow* parent);

  void AddItem(int id, bool show);
  void AddItemPair(int labelId, int fieldId, int minHeight, bool show);
  void AddButton(int id, bool show);
  // Places and then forgets the listed controls; false with nothing listed, or when the first
  // listed control is gone (the list is then kept).
  bool Layout(int columns);
  bool StretchRight(int id);
  bool PinBottom(int id);

  void SetMargins(int value);
  void SetTopMargin(int value) { m_settings.topMargin = value; }
  void SetLeftMargin(int value) { m_settings.leftMargin = value; }
  void SetRightMargin(int value) { m_settings.rightMargin = value; }
  void SetRowSpacing(int value) { m_settings.rowSpacing = value; }
  // Lay out inside this control's rectangle instead of the whole client area (0: client area).
  void SetReferenceId(int id) { m_referenceId = id; }
  int GetCurrentY() const { return m_currentY; }

private:
  wxWindow* Control(int id) const;
  void Place(wxWindow* control, const RECT& rect) const;
  void ShowOrList(int id1, int id2, int kind, bool show);

  SDlgLayoutSettings m_settings;
  int m_groupSpacing = 5;
  int m_groupHeader = 12;
  int m_referenceId = 0;
  wxWindow* m_parent;
  CList<SDlgItemPairID> m_items;
  int m_currentY = 0;
  std::deque<RECT> m_savedRects;
  bool m_fixedSize = false;
  int m_fixedHeight = 0;
  int m_fixedWidth = 0;
};

// The text of a string resource, or "???" when there is none.
CString LoadResString(UINT id);
