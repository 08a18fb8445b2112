#include "StringResources.h"

#include <map>

namespace {
std::map<UINT, CString>& Table()
{
  static std::map<UINT, CString> table;
  return table;
}
} // namespace

void SetStringResource(UINT id, const CString& text) { Table()[id] = text; }

bool LoadStringResource(UINT id, CString& text)
{
  auto it = Table().find(id);
  if (it == Table().end())
    return false;
  text = it->second;
  return true;
}
