#pragma once
// A fuzz target's own temporary folder for the files it reads and writes: made at first use,
// removed at exit.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Never destroyed: the clean-up at exit runs after the statics have gone.
inline const std::string& FuzzFolder()
{
  static const std::string* const folder = [] {
    auto* pattern = new std::string((std::filesystem::temp_directory_path() / "hvxfuzz-XXXXXX").string());
    if (!mkdtemp(pattern->data()))
      std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(FuzzFolder(), ec);
    });
    return pattern;
  }();
  return *folder;
}
