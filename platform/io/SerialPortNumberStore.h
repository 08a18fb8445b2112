#pragma once
// Where the "COMn" numbers of the serial devices are kept between runs: number -> the device's
// stable path (its /dev/serial/by-id/ link where it has one), so that an adapter plugged in again
// after a restart keeps its number.
//
// The default store is a small INI file of our own, $XDG_CONFIG_HOME/Zorvane/SerialPorts.ini
// (~/.config when the variable is unset), section "Ports", one "COMn=<path>" entry per number.
// It is a file apart from the program's profile so that this layer needs no GUI toolkit and never
// writes the profile behind the profile store's back; a program that wants the numbers in its
// profile installs its own store with SetSerialPortNumberStore.
#include <filesystem>
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

// The store the port list uses; null puts the default INI file back.
void SetSerialPortNumberStore(std::shared_ptr<ISerialPortNumberStore> store);
std::shared_ptr<ISerialPortNumberStore> GetSerialPortNumberStore();
