// fuzz-link: app_logic
// Takes arbitrary bytes as a firmware file. Whatever is accepted as Intel HEX starts with a record,
// holds a data record (type 00) with at least one byte and ends with an end-of-file record (type
// 01), line ends aside; the check never reads outside the bytes.
#include "IntelHexImage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (!IsIntelHexImage(data, size))
    return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t end = text.find_last_not_of("\r\n");
  const size_t start = text.find_last_of('\n', end);
  const std::string_view last = text.substr(start == std::string_view::npos ? 0 : start + 1);
  if (text.front() != ':' || last.size() < 11 || last[0] != ':' || last.substr(7, 2) != "01")
    std::abort();
  bool hasData = false;
  for (size_t at = 0; at != std::string_view::npos && !hasData; at = text.find('\n', at + 1)) {
    const std::string_view line = text.substr(at == 0 ? 0 : at + 1);
    hasData = line.size() >= 9 && line.substr(7, 2) == "00" && line.substr(1, 2) != "00";
  }
  if (!hasData)
    std::abort();
  return 0;
}
