#pragma once
// Reading what the servos answer: the command-error texts, the id list
// of the "QID" broadcast and the rows of the servo id list.
#include "CString.h"

#include <vector>

inline constexpr const wchar_t* kNoFirmwareRow = L"0 - No Firmware";
inline constexpr const wchar_t* kAllServosRow = L"254 - All Servos";

// The servo's answer to "QCE" as the user reads it; 0 has no text.
CString CommandErrorText(int code);
// The box text of a non-zero command error.
CString CommandErrorMessage(int code);

// The ids in a "QID" broadcast reply (*1QID1\r*3QID3 gives 1 and 3), in the order the servos
// answered. Each "*" through the next "QID" is an echo; a "*" without a "QID" after it ends the
// stripping and what remains is read as it is. The reply is the device's to make: each id comes
// once, and one that no servo can have (outside 0 to 253) not at all, so that every id listed
// costs the queries of one servo.
std::vector<int> ParseIdListReply(const CString& reply);
// How many listed ids that stay silent the id list asks before it gives up on the rest: every
// listed servo answered the broadcast a moment ago.
inline constexpr int kMaxSilentListedIds = 3;

// One row of the id list: "%d - %s - %s" with id, model text and firmware text.
CString IdRowText(int id, const CString& model, const CString& firmware);
// The id a row names: its first blank-separated token read as a number.
int IdFromRowText(const CString& row);
// The row that names exactly this id, or -1. A prefix match would take "12 - ..." for servo 1 and
// "254 - All Servos" for servo 2.
int FindIdRow(const std::vector<CString>& rows, int id);
