#include "SerialPortList.h"

#include "TextConversion.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <system_error>

#include <libserialport.h>

namespace {
constexpr const char* kOverridesVariable = "HVX_SERIAL_PORTS";
constexpr const char* kByIdFolder = "/dev/serial/by-id";

std::string Trimmed(const std::string& s)
{
  size_t from = s.find_first_not_of(" \t");
  if (from == std::string::npos)
    return {};
  return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

SerialPortNumbers EnvironmentOverrides()
{
  const char* text = getenv(kOverridesVariable);
  return text ? ParseSerialPortOverrides(text) : SerialPortNumbers();
}

std::string Canonical(const std::string& path)
{
  std::error_code ec;
  auto canonical = std::filesystem::canonical(path, ec);
  return ec ? path : canonical.string();
}

std::string StablePath(const std::string& device)
{
  std::error_code ec;
  const std::string target = Canonical(device);
  for (const auto& entry : std::filesystem::directory_iterator(kByIdFolder, ec))
    if (Canonical(entry.path().string()) == target)
      return entry.path().string();
  return device;
}

std::string Text(const char* s)
{
  return s ? s : "";
}

int LowestFreeNumber(const std::set<int>& taken)
{
  for (int n = kFirstSerialPortNumber; n <= kLastSerialPortNumber; ++n)
    if (!taken.count(n))
      return n;
  return 0;
}
} // namespace

int SerialPortNumberFromName(const CString& portName)
{
  if (portName.GetLength() < 4 || portName.GetLength() > 6 || portName.Left(3).CompareNoCase(L"COM") != 0)
    return 0;
  int number = 0;
  for (int i = 3; i < portName.GetLength(); ++i) {
    wchar_t c = portName[i];
    if (c < L'0' || c > L'9')
      return 0;
    number = number * 10 + int(c - L'0');
  }
  return number >= kFirstSerialPortNumber && number <= kLastSerialPortNumber ? number : 0;
}

CString SerialPortName(int number)
{
  CString name;
  name.Format(L"COM%d", number);
  return name;
}

SerialPortNumbers ParseSerialPortOverrides(const std::string& text)
{
  SerialPortNumbers overrides;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos)
      end = text.size();
    const std::string entry = text.substr(start, end - start);
    start = end + 1;
    size_t eq = entry.find('=');
    if (eq == std::string::npos)
      continue;
    int number = SerialPortNumberFromName(CString(Trimmed(entry.substr(0, eq)).c_str()));
    std::string path = Trimmed(entry.substr(eq + 1));
    if (number != 0 && !path.empty())
      overrides[number] = path;
  }
  return overrides;
}

std::vector<SSerialPortInfo> AssignSerialPortNumbers(const std::vector<SDetectedSerialPort>& detected,
                                                     SerialPortNumbers& stored,
                                                     const SerialPortNumbers& overrides, bool* storedChanged)
{
  std::vector<SSerialPortInfo> ports;
  std::set<int> taken;
  std::set<std::string> overriddenDevices;
  for (const auto& [number, path] : overrides) {
    SSerialPortInfo info;
    info.number = number;
    info.name = SerialPortName(number);
    info.devicePath = path;
    info.description = FromUtf8(path);
    info.fromEnvironment = true;
    ports.push_back(info);
    taken.insert(number);
    overriddenDevices.insert(Canonical(path));
  }
  for (const auto& [number, path] : stored)
    taken.insert(number);

  bool changed = false;
  for (const SDetectedSerialPort& device : detected) {
    if (overriddenDevices.count(Canonical(device.devicePath)))
      continue;
    auto known = std::find_if(stored.begin(), stored.end(),
                              [&](const auto& entry) { return entry.second == device.stablePath; });
    int number = 0;
    if (known == stored.end()) {
      number = LowestFreeNumber(taken);
      if (number != 0) {
        stored[number] = device.stablePath;
        changed = true;
      }
    } else if (overrides.count(known->first)) {
      number = LowestFreeNumber(taken); // for this listing only: the stored number stays its own
    } else {
      number = known->first;
    }
    if (number == 0)
      continue;
    taken.insert(number);
    SSerialPortInfo info;
    info.number = number;
    info.name = SerialPortName(number);
    info.devicePath = device.stablePath;
    info.description = FromUtf8(device.description);
    info.manufacturer = FromUtf8(device.manufacturer);
    info.product = FromUtf8(device.product);
    info.serialNumber = FromUtf8(device.serialNumber);
    ports.push_back(info);
  }
  std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  if (storedChanged)
    *storedChanged = changed;
  return ports;
}

std::vector<SDetectedSerialPort> DetectSerialPorts()
{
  std::vector<SDetectedSerialPort> found;
  sp_port** list = nullptr;
  if (sp_list_ports(&list) != SP_OK)
    return found;
  for (sp_port** p = list; *p; ++p) {
    SDetectedSerialPort device;
    device.devicePath = Text(sp_get_port_name(*p));
    device.stablePath = StablePath(device.devicePath);
    device.description = Text(sp_get_port_description(*p));
    if (sp_get_port_transport(*p) == SP_TRANSPORT_USB) {
      device.manufacturer = Text(sp_get_port_usb_manufacturer(*p));
      device.product = Text(sp_get_port_usb_product(*p));
      device.serialNumber = Text(sp_get_port_usb_serial(*p));
    }
    found.push_back(device);
  }
  sp_free_port_list(list);
  return found;
}

std::vector<SSerialPortInfo> ListSerialPorts()
{
  auto store = GetSerialPortNumberStore();
  SerialPortNumbers stored = store->Load();
  bool changed = false;
  auto ports = AssignSerialPortNumbers(DetectSerialPorts(), stored, EnvironmentOverrides(), &changed);
  if (changed)
    store->Save(stored);
  return ports;
}

std::string GetSerialDevicePath(const CString& portName)
{
  int number = SerialPortNumberFromName(portName);
  if (number == 0)
    return {};
  SerialPortNumbers overrides = EnvironmentOverrides();
  if (auto it = overrides.find(number); it != overrides.end())
    return it->second;
  SerialPortNumbers stored = GetSerialPortNumberStore()->Load();
  if (auto it = stored.find(number); it != stored.end())
    return it->second;
  // A device whose stored number an override has taken is listed under a number of the moment,
  // which only a listing knows.
  for (const SSerialPortInfo& port : ListSerialPorts())
    if (port.number == number)
      return port.devicePath;
  return {};
}
