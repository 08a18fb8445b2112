// "COMn" names over the serial devices: numbers that stay with their devices across runs, the
// HVX_SERIAL_PORTS overrides, and the stores the numbers are kept in.
#include "CStringPrinting.h"
#include "ScopedEnvironment.h"
#include "SerialPortList.h"
#include "SerialPortNumberStore.h"
#include "TempUserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
SDetectedSerialPort Device(const std::string& path, const std::string& byId = {})
{
  SDetectedSerialPort device;
  device.devicePath = path;
  device.stablePath = byId.empty() ? path : byId;
  device.description = "USB Serial " + path;
  return device;
}

std::vector<std::pair<int, std::string>> NumbersOf(const std::vector<SSerialPortInfo>& ports)
{
  std::vector<std::pair<int, std::string>> numbers;
  for (const auto& port : ports)
    numbers.emplace_back(port.number, port.devicePath);
  return numbers;
}

std::string FileText(const std::filesystem::path& file)
{
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Puts the environment variable back as it was.
class MemoryStore : public ISerialPortNumberStore {
public:
  SerialPortNumbers Load() override { return numbers; }
  void Save(const SerialPortNumbers& saved) override { numbers = saved; }
  SerialPortNumbers numbers;
};
} // namespace

TEST(SerialPortList, PortNamesAndOverridesAreRead)
{
  EXPECT_EQ(SerialPortNumberFromName(L"COM5"), 5);
  EXPECT_EQ(SerialPortNumberFromName(L"com999"), 999);
  EXPECT_EQ(SerialPortNumberFromName(L"COM0"), 0);
  EXPECT_EQ(SerialPortNumberFromName(L"COM1000"), 0);
  EXPECT_EQ(SerialPortNumberFromName(L"COM"), 0);
  EXPECT_EQ(SerialPortNumberFromName(L"COM-1"), 0);
  EXPECT_EQ(SerialPortNumberFromName(L"COM5 "), 0);
  EXPECT_EQ(SerialPortNumberFromName(L"LPT1"), 0);

  const SerialPortNumbers overrides = ParseSerialPortOverrides(
      " COM7 = /dev/pts/3 ;com8=/tmp/servo;broken;COM0=/x;COM9=;COM1000=/y;COM7=/dev/pts/9;");
  EXPECT_EQ(overrides, (SerialPortNumbers{{7, "/dev/pts/9"}, {8, "/tmp/servo"}}));
  EXPECT_TRUE(ParseSerialPortOverrides("").empty());
}

TEST(SerialPortList, NumbersStayWithTheirDevices)
{
  SerialPortNumbers stored;
  bool changed = false;
  auto ports = AssignSerialPortNumbers(
      {Device("/dev/ttyUSB0", "/dev/serial/by-id/usb-A"), Device("/dev/ttyACM0")}, stored, {}, &changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(NumbersOf(ports),
            (std::vector<std::pair<int, std::string>>{{1, "/dev/serial/by-id/usb-A"}, {2, "/dev/ttyACM0"}}));
  EXPECT_EQ(ports[0].name, L"COM1");
  EXPECT_EQ(ports[0].description, L"USB Serial /dev/ttyUSB0");
  EXPECT_EQ(stored, (SerialPortNumbers{{1, "/dev/serial/by-id/usb-A"}, {2, "/dev/ttyACM0"}}));

  // After a restart the adapter comes back under another device node but the same by-id link;
  // the other device is unplugged, and its number is not handed to a newcomer.
  ports = AssignSerialPortNumbers({Device("/dev/ttyUSB3"), Device("/dev/ttyUSB1", "/dev/serial/by-id/usb-A")},
                                  stored, {}, &changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(NumbersOf(ports),
            (std::vector<std::pair<int, std::string>>{{1, "/dev/serial/by-id/usb-A"}, {3, "/dev/ttyUSB3"}}));

  // Nothing new: nothing to save.
  AssignSerialPortNumbers({Device("/dev/ttyUSB3")}, stored, {}, &changed);
  EXPECT_FALSE(changed);
}

TEST(SerialPortList, OverridesAddPortsAndTakeNumbersOver)
{
  SerialPortNumbers stored{{1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB1"}};
  const SerialPortNumbers overrides{{1, "/tmp/servo"}, {7, "/dev/ttyUSB1"}};
  bool changed = true;
  auto ports =
      AssignSerialPortNumbers({Device("/dev/ttyUSB0"), Device("/dev/ttyUSB1")}, stored, overrides, &changed);
  // ttyUSB0's number is taken for this listing only; ttyUSB1 is listed once, under its override.
  EXPECT_EQ(NumbersOf(ports), (std::vector<std::pair<int, std::string>>{
                                  {1, "/tmp/servo"}, {3, "/dev/ttyUSB0"}, {7, "/dev/ttyUSB1"}}));
  EXPECT_TRUE(ports[0].fromEnvironment);
  EXPECT_FALSE(ports[1].fromEnvironment);
  EXPECT_FALSE(changed);
  EXPECT_EQ(stored, (SerialPortNumbers{{1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB1"}}));
}

TEST(SerialPortList, PortNameOpensTheOverrideOrTheStoredDevice)
{
  auto store = std::make_shared<MemoryStore>();
  store->numbers = {{3, "/dev/serial/by-id/usb-B"}, {4, "/dev/ttyUSB4"}};
  SetSerialPortNumberStore(store);
  {
    ScopedEnvironment ports("HVX_SERIAL_PORTS", "COM4=/dev/pts/7;COM12=/tmp/sim");
    EXPECT_EQ(GetSerialDevicePath(L"com3"), "/dev/serial/by-id/usb-B");
    EXPECT_EQ(GetSerialDevicePath(L"COM4"), "/dev/pts/7");
    EXPECT_EQ(GetSerialDevicePath(L"COM12"), "/tmp/sim");
    EXPECT_EQ(GetSerialDevicePath(L"COM998"), "");
    EXPECT_EQ(GetSerialDevicePath(L"ttyUSB4"), "");
  }
  EXPECT_EQ(GetSerialDevicePath(L"COM4"), "/dev/ttyUSB4");
  SetSerialPortNumberStore(nullptr);
}

TEST(SerialPortNumberStore, IniFileKeepsTheNumbersBetweenRuns)
{
  TempUserFolders folders;
  EXPECT_EQ(CIniSerialPortNumberStore::DefaultFile(), folders.ConfigHome() / "Zorvane" / "SerialPorts.ini");

  CIniSerialPortNumberStore store;
  EXPECT_TRUE(store.Load().empty()); // no file yet
  store.Save({{2, "/dev/serial/by-id/usb-A"}, {0, "/dev/ttyS0"}, {1000, "/dev/ttyS1"}, {5, ""}});
  EXPECT_EQ(FileText(CIniSerialPortNumberStore::DefaultFile()), "[Ports]\nCOM2=/dev/serial/by-id/usb-A\n");

  // Other sections, comments and malformed lines of a hand-edited file are passed over.
  TempFolder folder;
  const auto file = folder.Path() / "ports.ini";
  std::ofstream(file)
      << "[Other]\nCOM1=/wrong\n; note\n[Ports]\r\n COM9 = /dev/ttyACM0 \r\nnonsense\nCOMx=/y\n";
  EXPECT_EQ(CIniSerialPortNumberStore(file).Load(), (SerialPortNumbers{{9, "/dev/ttyACM0"}}));
}

TEST(SerialPortNumberStore, ProfileStoreWritesOnlyWhatChanged)
{
  std::map<std::wstring, std::wstring> profile{
      {L"Ports/COM1", L"/dev/ttyUSB0"}, {L"Ports/COM4", L"/dev/ttyUSB4"}, {L"Other/COM2", L"/dev/wrong"}};
  std::vector<std::wstring> writes;
  CProfileSerialPortNumberStore store(
      [&](const wchar_t* section, const wchar_t* entry) {
        auto it = profile.find(std::wstring(section) + L"/" + entry);
        return it == profile.end() ? CString() : CString(it->second.c_str());
      },
      [&](const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
        const std::wstring key = std::wstring(section) + L"/" + entry;
        writes.push_back(key);
        if (value)
          profile[key] = value;
        else
          profile.erase(key);
      });
  SerialPortNumbers numbers = store.Load();
  EXPECT_EQ(numbers, (SerialPortNumbers{{1, "/dev/ttyUSB0"}, {4, "/dev/ttyUSB4"}}));

  numbers[2] = "/dev/serial/by-id/usb-\xc3\xa9"; // UTF-8 in a path comes back the same
  numbers.erase(4);
  store.Save(numbers);
  EXPECT_EQ(writes, (std::vector<std::wstring>{L"Ports/COM4", L"Ports/COM2"}));
  EXPECT_EQ(profile.count(L"Ports/COM4"), 0u);
  EXPECT_EQ(store.Load(), numbers);
}
