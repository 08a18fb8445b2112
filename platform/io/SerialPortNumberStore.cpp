#include "SerialPortNumberStore.h"

#include "SerialPortList.h"
#include "TextConversion.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <system_error>

#include <unistd.h>

namespace {
constexpr const char* kSection = "[Ports]";

std::string Trimmed(const std::string& s)
{
  const char* blanks = " \t\r\n";
  size_t from = s.find_first_not_of(blanks);
  if (from == std::string::npos)
    return {};
  size_t to = s.find_last_not_of(blanks);
  return s.substr(from, to - from + 1);
}

struct StoreSlot {
  std::mutex lock;
  std::shared_ptr<ISerialPortNumberStore> store;
};

StoreSlot& TheSlot()
{
  static StoreSlot slot;
  return slot;
}
} // namespace

CIniSerialPortNumberStore::CIniSerialPortNumberStore(std::filesystem::path file) : m_file(std::move(file)) {}

std::filesystem::path CIniSerialPortNumberStore::DefaultFile()
{
  std::filesystem::path base;
  if (const char* config = getenv("XDG_CONFIG_HOME"); config && *config)
    base = config;
  else if (const char* home = getenv("HOME"); home && *home)
    base = std::filesystem::path(home) / ".config";
  else
    base = std::filesystem::temp_directory_path();
  return base / "Zorvane" / "SerialPorts.ini";
}

std::filesystem::path CIniSerialPortNumberStore::File() const
{
  return m_file.empty() ? DefaultFile() : m_file;
}

SerialPortNumbers CIniSerialPortNumberStore::Load()
{
  SerialPortNumbers numbers;
  std::ifstream in(File());
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    line = Trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#')
      continue;
    if (line[0] == '[') {
      inSection = line == kSection;
      continue;
    }
    size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos)
      continue;
    int number = SerialPortNumberFromName(CString(Trimmed(line.substr(0, eq)).c_str()));
    std::string path = Trimmed(line.substr(eq + 1));
    if (number != 0 && !path.empty())
      numbers[number] = path;
  }
  return numbers;
}

void CIniSerialPortNumberStore::Save(const SerialPortNumbers& numbers)
{
  const std::filesystem::path file = File();
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::filesystem::path temporary = file;
  temporary += ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << kSection << '\n';
    for (const auto& [number, path] : numbers)
      if (number >= kFirstSerialPortNumber && number <= kLastSerialPortNumber && !path.empty())
        out << "COM" << number << '=' << path << '\n';
    if (!out.flush())
      return;
  }
  std::filesystem::rename(temporary, file, ec);
  if (ec)
    std::filesystem::remove(temporary, ec);
}

CProfileSerialPortNumberStore::CProfileSerialPortNumberStore(Reader read, Writer write)
    : m_read(std::move(read)), m_write(std::move(write))
{}

SerialPortNumbers CProfileSerialPortNumberStore::Load()
{
  SerialPortNumbers numbers;
  for (int number = kFirstSerialPortNumber; number <= kLastSerialPortNumber; ++number) {
    std::string path = Trimmed(ToUtf8(m_read(kSection, SerialPortName(number))));
    if (!path.empty())
      numbers[number] = path;
  }
  m_loaded = numbers;
  return numbers;
}

void CProfileSerialPortNumberStore::Save(const SerialPortNumbers& numbers)
{
  for (const auto& [number, path] : m_loaded)
    if (!numbers.count(number))
      m_write(kSection, SerialPortName(number), nullptr);
  for (const auto& [number, path] : numbers) {
    if (number < kFirstSerialPortNumber || number > kLastSerialPortNumber || path.empty())
      continue;
    auto known = m_loaded.find(number);
    if (known == m_loaded.end() || known->second != path)
      m_write(kSection, SerialPortName(number), FromUtf8(path));
  }
  m_loaded = numbers;
}

void SetSerialPortNumberStore(std::shared_ptr<ISerialPortNumberStore> store)
{
  std::lock_guard guard(TheSlot().lock);
  TheSlot().store = std::move(store);
}

std::shared_ptr<ISerialPortNumberStore> GetSerialPortNumberStore()
{
  std::lock_guard guard(TheSlot().lock);
  if (!TheSlot().store)
    TheSlot().store = std::make_shared<CIniSerialPortNumberStore>();
  return TheSlot().store;
}
