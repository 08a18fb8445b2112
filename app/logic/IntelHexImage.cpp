#include "IntelHexImage.h"

#include <string_view>

namespace {
int HexDigit(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

enum class ERecord { Bad, Data, Other, EndOfFile };

// One record without its line end.
ERecord CheckRecord(std::string_view line)
{
  constexpr size_t kFixedBytes = 5; // count, address (2), type, checksum
  if (line.size() < 1 + 2 * kFixedBytes || line[0] != ':' || (line.size() - 1) % 2 != 0)
    return ERecord::Bad;
  unsigned sum = 0;
  unsigned bytes[4] = {};
  const size_t byteCount = (line.size() - 1) / 2;
  for (size_t i = 0; i < byteCount; ++i) {
    const int high = HexDigit(line[1 + 2 * i]);
    const int low = HexDigit(line[2 + 2 * i]);
    if (high < 0 || low < 0)
      return ERecord::Bad;
    const unsigned value = unsigned(high * 16 + low);
    if (i < 4)
      bytes[i] = value;
    sum += value;
  }
  const unsigned count = bytes[0];
  const unsigned type = bytes[3];
  if (byteCount != count + kFixedBytes || (sum & 0xFF) != 0 || type > 5)
    return ERecord::Bad;
  if (type == 1)
    return count == 0 ? ERecord::EndOfFile : ERecord::Bad;
  // Address records and empty data records put nothing into the servo's memory.
  return type == 0 && count > 0 ? ERecord::Data : ERecord::Other;
}
} // namespace

bool IsIntelHexImage(const uint8_t* bytes, size_t size)
{
  const std::string_view text(reinterpret_cast<const char*>(bytes), bytes ? size : 0);
  size_t start = 0;
  bool hasData = false;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    const ERecord record = CheckRecord(line);
    if (record == ERecord::Bad)
      return false;
    start = end + 1;
    hasData = hasData || record == ERecord::Data;
    if (record == ERecord::EndOfFile)
      return hasData && text.find_first_not_of("\r\n", start) == std::string_view::npos;
  }
  return false;
}
