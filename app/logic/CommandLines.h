#pragma once
// Building the command lines of the command panels from what the user picked and typed.
#include "CCmdInfoList.h"
#include "CString.h"

// The mnemonic of a query or configuration combo row: its first four characters, trimmed.
CString MnemonicFromComboText(const CString& text);
// The mnemonic of an action row, and the key of the action description lookup: the first token,
// with blank, tab and '-' as separators.
CString FirstTokenOf(const CString& text);

// The description of the first table row whose mnemonic is the key, exactly and case-sensitive;
// false, and description untouched, when there is none.
bool FindCommandDescription(const CCmdInfoList& table, const CString& key, CString& description);

enum class ECommandValue { Empty, Number, Invalid };
// The value of an action or configuration: empty (send the mnemonic alone), a whole decimal number
// (blanks around it allowed) or anything else, which is refused rather than sent as 0.
ECommandValue ParseCommandValue(const CString& text, int& value);
// The box text that refuses a value.
CString InvalidValueMessage(const CString& text);

// The line a free-format text stands for: "#<id>" is put in front when the text lacks the "#" and
// a servo above 0 is selected; blanks at both ends are trimmed.
CString BuildFreeFormatLine(const CString& text, int currentId);

enum class EFreeFormatRoute { Transact, DefaultButton, FirmwareUpdateButton };
// "DEFAULT" or "UPDATE" after the start of the line runs that button's dialogue instead of
// sending the line; a line that starts with the word itself is sent as typed.
EFreeFormatRoute RouteFreeFormatLine(const CString& line);

// The servo a command line addresses: the id written after its "#" ("#7DEFAULT" addresses 7
// whichever servo is selected), or currentId when no digits follow.
int AddressedId(const CString& line, int currentId);
