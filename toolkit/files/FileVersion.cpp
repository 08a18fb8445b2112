#include "FileVersion.h"

#include "CLocale.h"
#include "FileFunctions.h"
#include "NativePath.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Kept one byte off, so that this reader's own code never holds the marker it searches for: a
// search of the program file must find only the record itself.
constexpr char kShiftedMarker[] = "[WFSTJPOJOGP\x02";

const std::string& Marker()
{
  static const std::string marker = [] {
    std::string m;
    for (const char* p = kShiftedMarker; *p; ++p)
      m += char(*p - 1);
    return m;
  }();
  return marker;
}

// Marker, four numbers of up to five digits, ";flags=", up to ten digits, NUL.
constexpr size_t kLongestRecord = 13 + 4 * 5 + 3 + 7 + 10 + 1;
constexpr size_t kChunkBytes = 65536;

struct SVersionRecord {
  unsigned numbers[4] = {};
  unsigned long flags = 0;
};

bool ReadNumber(std::string_view text, size_t& at, size_t maxDigits, unsigned long maxValue,
                unsigned long& value)
{
  size_t start = at;
  value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < maxDigits)
    value = value * 10 + unsigned(text[at++] - '0');
  return at > start && value <= maxValue && (at >= text.size() || text[at] < '0' || text[at] > '9');
}

// The record after the marker, strictly: anything else that happens to follow the marker's bytes
// is not a record.
std::optional<SVersionRecord> ParseRecord(std::string_view text)
{
  SVersionRecord record;
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    unsigned long value = 0;
    if (!ReadNumber(text, at, 5, 0xFFFF, value))
      return std::nullopt;
    record.numbers[i] = unsigned(value);
    const char expected = i < 3 ? '.' : ';';
    if (at >= text.size() || text[at++] != expected)
      return std::nullopt;
  }
  if (text.substr(at, 6) != "flags=")
    return std::nullopt;
  at += 6;
  if (!ReadNumber(text, at, 10, 0xFFFFFFFFul, record.flags))
    return std::nullopt;
  if (at >= text.size() || text[at] != '\0')
    return std::nullopt;
  return record;
}

std::optional<SVersionRecord> FindRecord(std::FILE* file)
{
  const std::string& marker = Marker();
  std::string buffer;
  for (;;) {
    size_t kept = buffer.size();
    buffer.resize(kept + kChunkBytes);
    size_t got = std::fread(buffer.data() + kept, 1, kChunkBytes, file);
    buffer.resize(kept + got);
    bool atEnd = got == 0;

    size_t keepFrom = buffer.size() > kLongestRecord - 1 ? buffer.size() - (kLongestRecord - 1) : 0;
    for (size_t at = buffer.find(marker); at != std::string::npos; at = buffer.find(marker, at + 1)) {
      if (!atEnd && buffer.size() - at < kLongestRecord) {
        keepFrom = std::min(keepFrom, at);
        break;
      }
      if (auto record = ParseRecord(std::string_view(buffer).substr(at + marker.size())))
        return record;
    }
    if (atEnd)
      return std::nullopt;
    buffer.erase(0, keepFrom);
  }
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

int GetFileVersion(SFileVersionInfo& info, const CString& path)
{
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(NativePath(path).c_str(), "rb"));
  if (!file)
    return 0;
  std::optional<SVersionRecord> record = FindRecord(file.get());
  if (!record)
    return 0;

  info.major = int(record->numbers[0]);
  info.minor = int(record->numbers[1]);
  info.build = int(record->numbers[2]);
  info.revision = int(record->numbers[3]);
  info.text.Format(L"%d.%02d.%02d.%04d", info.major, info.minor, info.build, info.revision);
  info.debug = (record->flags & 1) != 0;
  info.title = GetFileTitle(path);

  CString majorMinor = info.text.Left(info.text.Find(L'.', info.text.Find(L'.') + 1));
  majorMinor.Remove(L'.');
  return _wtoi(majorMinor);
}
