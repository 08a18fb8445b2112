// fuzz-link: servolink
// Reads arbitrary bytes the way the servo link reads what comes back on the line: as one reply
// read (framing, value, the text after a typed query's mnemonic), as the answer to the "QID"
// broadcast (marker stripping) and as a bootloader answer. The first byte picks the command the
// reply is read against. Beyond not crashing, the readers must keep their promises: a reply is
// whole only when it ends in "\r" (what arrived is kept either way), stripping leaves no "*" with a "QID"
// after it, and a value the servo wrote in the usual form is read back exactly.
#include "ServoReply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

namespace {
struct SCommand {
  const wchar_t* line;
  const wchar_t* mnemonic;
};
const SCommand kCommands[] = {
    {L"#5QD", L"QD"},   {L"#254QID", L"QID"}, {L"#5QBLV3", L"QBLV"}, {L"#12QF3", L"QF"}, {L"#5Q", L"Q"},
    {L"#0QUC", L"QUC"}, {L"#5D-1500", L"D"},  {L"STATUS", L"TATUS"}, {L"#5qd", L"qd"},   {L"#-5QD", L"QD"},
    {L"", L""}};

void Check(bool promise)
{
  if (!promise)
    abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  const SCommand& command = kCommands[data[0] % (sizeof kCommands / sizeof kCommands[0])];
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const size_t count = size - 1;

  CString reply = L"untouched";
  const bool whole = ServoReplyFromBytes(bytes, count, reply);
  Check(whole == (count > 0 && bytes[count - 1] == '\r'));
  Check(reply.GetLength() <= int(count) - (whole ? 1 : 0));
  Check(reply.Find(L'\0') < 0);

  const CString line = command.line;
  (void)IsServoCommandLine(line);
  (void)ServoLineExpectsReply(line);
  (void)ServoReplyValue(line, reply);
  (void)BootStatusFromAnswer(reply);

  CString after;
  if (ServoReplyTextAfter(reply, command.mnemonic, after)) {
    Check(reply.Find(command.mnemonic) >= 0);
    Check(reply.Right(after.GetLength()) == after);
  }

  const CString ids = StripIdMarkers(reply);
  Check(ids.GetLength() <= reply.GetLength());
  const int star = ids.Find(L'*');
  Check(star < 0 || ids.Find(L"QID", star) < 0);

  // The value the servo wrote in the usual form comes back exactly.
  if (count >= 5 && line.GetLength() > 0 && line[0] == L'#') {
    int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    CString echo = line;
    while (!echo.IsEmpty() &&
           (iswdigit(wint_t(echo[echo.GetLength() - 1])) || echo[echo.GetLength() - 1] == L'-'))
      echo.Truncate(echo.GetLength() - 1);
    if (echo.GetLength() > 1) {
      CString usual = echo;
      usual.SetAt(0, L'*');
      usual.AppendFormat(L"%d", value);
      Check(ServoReplyValue(line, usual) == value);
    }
  }
  return 0;
}
