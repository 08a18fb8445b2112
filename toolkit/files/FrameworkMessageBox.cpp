#include "FrameworkMessageBox.h"

#include "TextConversion.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<FrameworkMessageBoxHandler> g_handler{nullptr};
}

FrameworkMessageBoxHandler SetFrameworkMessageBoxHandler(FrameworkMessageBoxHandler handler)
{
  return g_handler.exchange(handler);
}

void ShowFrameworkMessageBox(const CString& text)
{
  if (FrameworkMessageBoxHandler handler = g_handler.load()) {
    handler(text);
    return;
  }
  std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
}
