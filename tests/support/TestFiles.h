#pragma once
// Small helpers for the file tests: files written and read back as raw bytes.
#include "CString.h"
#include "CStringPrinting.h"
#include "NativePath.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A path as the program's file layer names it.
inline CString Wide(const std::filesystem::path& path)
{
  return FromNativePath(path.string());
}
