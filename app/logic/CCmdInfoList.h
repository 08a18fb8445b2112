#pragma once
// The servo command table and the rules that spread it over the query, action and configuration
// lists of the main dialog and over the command lists of the two script editors.
#include "CList.h"
#include "SCmdInfo.h"

#include <vector>

class CCmdInfoList : public CList<SCmdInfo, const SCmdInfo&> {
public:
  ~CCmdInfoList() override = default;

  // Appends one row; no check for duplicates or empty text.
  void AddCmd(const char* mnemonic, const char* description, int level);
};

// Appends the program's 106 command rows in their fixed order.
void AddDefaultCommands(CCmdInfoList& list);

enum class ECommandCombo { Query, Action, Configuration };
// By the first letter alone: "Q" a query, "C" a configuration (so "CONFIRM" and "CALIBRATE" too),
// anything else an action.
ECommandCombo CommandComboOf(const CString& mnemonic);

// "(A) " for level 2, "(B) " for level 1, nothing for levels 0 and 3.
CString LevelMark(int level);

// The combo text of a row: the mnemonic padded with blanks to 16 characters (no blank when it is 16
// or longer), the level mark, the description. The command panels read the mnemonic back from the
// start of this text.
CString CommandComboText(const SCmdInfo& row);

// The combo texts in table order, per combo; the walk stops at the first row with an empty mnemonic.
// The combos sort their rows themselves.
struct SCommandComboTexts {
  std::vector<CString> query;
  std::vector<CString> action;
  std::vector<CString> configuration;
};
SCommandComboTexts CommandComboTexts(const CCmdInfoList& list);

// The mnemonics the script editors offer, each once, in table order, with the same walk: the action
// editor lists every mnemonic not starting with "Q" (its own "WAIT" is not part of the table), the
// trace query editor every one starting with "Q".
std::vector<CString> ActionEditorMnemonics(const CCmdInfoList& list);
std::vector<CString> TraceEditorMnemonics(const CCmdInfoList& list);
