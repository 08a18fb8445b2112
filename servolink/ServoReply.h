#pragma once
// Reading what comes back on the servo line: the text of one reply read, the value of a reply,
// the id list of the "QID" broadcast and the bootloader's status words. Plain functions over
// text, so that they can be tested and fuzzed without a port.
#include "CString.h"

#include <cstddef>

// A line that Transact sends: one that starts with "#", or the bootloader word "STATUS".
bool IsServoCommandLine(const CString& line);
// Whether the servo answers the line: a query (the first character after "#" and the id digits
// is "Q" or "q") or "STATUS". Actions and configurations are answered by silence.
bool ServoLineExpectsReply(const CString& line);

// The reply text of one read: the bytes before the closing "\r", a leading "\n" skipped, taken up
// to the first zero byte and widened byte for byte. A read that does not end in "\r" was cut
// short: its text is all that arrived, and the result is false.
bool ServoReplyFromBytes(const char* bytes, size_t count, CString& reply);

// What the servo appended to its echo: the reply with every "*" turned into "#" and every copy of
// the command (less a trailing value: #5D-1500 counts as #5D) removed. *5QD-250 after #5QD gives
// "-250"; a reply from another servo keeps its echo.
CString ServoReplyValueText(const CString& lastCommand, const CString& lastReply);
// That text read as a leading decimal integer; 0 when nothing numeric is left.
int ServoReplyValue(const CString& lastCommand, const CString& lastReply);

// The text after the first occurrence of mnemonic in the reply (*5QBI2 after "QBI" gives "2").
// False when the reply does not hold the mnemonic: the answer is to something else.
bool ServoReplyTextAfter(const CString& reply, const CString& mnemonic, CString& value);

// The "QID" broadcast reply with the echo markers stripped: for each "*", the text from it
// through the first "QID" after it is removed wherever it occurs, leaving the ids separated by
// "\r" (*1QID1\r*3QID3 gives 1\r3). A "*" with no "QID" after it ends the stripping there.
CString StripIdMarkers(CString reply);

// What a bootloader waiting for firmware answers to the "#254QID" broadcast.
inline constexpr const wchar_t* kWaitingForFirmwareReply = L"WAITING FOR FIRMWARE.";

// The bootloader's answer to "STATUS", compared whole and case-sensitive: "frw" 1, "cmd" 2,
// "wtf" and "flf" 3, "wtc" 4, anything else 0.
int BootStatusFromAnswer(const CString& answer);
