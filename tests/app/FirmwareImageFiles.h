#pragma once
// Firmware files for the update tests: Intel HEX as the binary tools write it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// The Intel HEX file objcopy makes of `bytes` random bytes, at path; empty when objcopy failed.
inline std::string WriteObjcopyHexFile(const std::filesystem::path& path, size_t bytes)
{
  const std::filesystem::path binary = path.string() + ".bin";
  {
    std::mt19937 random{unsigned(bytes)};
    std::ofstream out(binary, std::ios::binary);
    for (size_t i = 0; i < bytes; ++i)
      out.put(char(random() & 0xFF));
  }
  const std::string command = "objcopy -I binary -O ihex '" + binary.string() + "' '" + path.string() + "'";
  if (std::system(command.c_str()) != 0)
    return {};
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
