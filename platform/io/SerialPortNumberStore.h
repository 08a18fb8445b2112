#pragma once
// Where the "COMn" numbers of the serial devices are kept between runs: number -> the device's
// stable path (its /dev/serial/by-id/ link where it has one), so that an adapter plugged in again
// after a restart keeps its number.
//
// The program keeps them in its profile, section "Ports", one entry "COMn" per number: it installs
// a CProfileSerialPortNumberStore over its profile functions with SetSerialPortNumberStore. Until
// then (and in programs without a profile) the store is a small INI file of our own,
// $XDG_CONFIG_HOME/Zorvane/SerialPorts.ini (~/.config when the variable is unset), with the same
// section and entries: this layer needs no GUI toolkit and never writes the profile file behind
// the profile's back.
#include "CString.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

using SerialPortNumbers = std::map<int, std::string>;

class ISerialPortNumberStore {
public:
  virtual ~ISerialPortNumberStore() = default;
  virtual SerialPortNumbers Load() = 0;
  virtual void Save(const SerialPortNumbers& numbers) = 0;
};

class CIniSerialPortNumberStore : public ISerialPortNumberStore {
public:
  // An empty path means the default file, looked up again at every Load and Save so that a
  // change of XDG_CONFIG_HOME takes effect.
  explicit CIniSerialPortNumberStore(std::filesystem::path file = {});
  SerialPortNumbers Load() override;
  // Writes the whole file (a temporary file renamed over it); entries outside 1..999 are dropped.
  void Save(const SerialPortNumbers& numbers) override;

  static std::filesystem::path DefaultFile();

private:
  std::filesystem::path File() const;
  std::filesystem::path m_file;
};

// The numbers as entries "COMn" of the section "Ports" in a profile reached through its own
// functions. read gives an entry's value (empty when it does not exist); write stores one, or
// deletes it for a null value. Only entries that differ from what the last Load found are
// written, since every profile write reaches the disk.
class CProfileSerialPortNumberStore : public ISerialPortNumberStore {
public:
  using Reader = std::function<CString(const wchar_t* section, const wchar_t* entry)>;
  using Writer = std::function<void(const wchar_t* section, const wchar_t* entry, const wchar_t* value)>;
  static constexpr const wchar_t* kSection = L"Ports";

  CProfileSerialPortNumberStore(Reader read, Writer write);
  SerialPortNumbers Load() override;
  void Save(const SerialPortNumbers& numbers) override;

private:
  Reader m_read;
  Writer m_write;
  SerialPortNumbers m_loaded;
};

// The store the port list uses; null puts the default INI file back.
void SetSerialPortNumberStore(std::shared_ptr<ISerialPortNumberStore> store);
std::shared_ptr<ISerialPortNumberStore> GetSerialPortNumberStore();
