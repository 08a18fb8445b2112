#pragma once
// The serial ports as the program lists them: "COMn" names of our own over the devices that
// libserialport finds, each number kept stable in the number store (SerialPortNumberStore.h), plus
// the entries of the environment variable HVX_SERIAL_PORTS ("COM7=/dev/pts/3;COM8=/tmp/servo"),
// which add ports or take a number over (virtual ports, the simulated servo of the tests).
#include "CString.h"
#include "SerialPortNumberStore.h"

#include <map>
#include <string>
#include <vector>

constexpr int kFirstSerialPortNumber = 1;
constexpr int kLastSerialPortNumber = 999;

struct SSerialPortInfo {
  int number = 0;         // n of "COMn"
  CString name;           // "COMn"
  std::string devicePath; // what is opened: /dev/ttyUSB0, a by-id link, /dev/pts/3
  CString description;    // libserialport's description; the path for an HVX_SERIAL_PORTS entry
  CString manufacturer;   // USB strings, empty for other devices
  CString product;
  CString serialNumber;
  bool fromEnvironment = false;
};

// A device as the system reports it, before it has a number.
struct SDetectedSerialPort {
  std::string devicePath;
  std::string stablePath; // the /dev/serial/by-id/ link to it, else devicePath
  std::string description, manufacturer, product, serialNumber; // UTF-8
};

// Every port, sorted by number. Numbers for devices seen for the first time are taken from the
// lowest free in 1..999 and saved in the number store.
std::vector<SSerialPortInfo> ListSerialPorts();

// The device path that the port name ("COM7", any case) opens: the HVX_SERIAL_PORTS entry, else
// the stored one, else the one a listing gives that number now. Empty when the name is not a port
// name or the number is unknown.
std::string GetSerialDevicePath(const CString& portName);

// The number of a port name: "COM" in any case and digits, 1..999; 0 otherwise.
int SerialPortNumberFromName(const CString& portName);
// "COMn" for the number n.
CString SerialPortName(int number);

// HVX_SERIAL_PORTS entries separated by ';', each "COMn=<path>" with blanks around the parts
// allowed; malformed entries are skipped and a later entry for the same number wins.
SerialPortNumbers ParseSerialPortOverrides(const std::string& text);

// The numbering itself. stored is updated with numbers given to devices seen for the first time
// (the return value says whether it changed). A device whose stored number an override holds gets
// a free number for this listing only; a detected device that an override names is listed once,
// under the override.
std::vector<SSerialPortInfo> AssignSerialPortNumbers(const std::vector<SDetectedSerialPort>& detected,
                                                     SerialPortNumbers& stored,
                                                     const SerialPortNumbers& overrides,
                                                     bool* storedChanged = nullptr);

// What libserialport reports, with the by-id links resolved.
std::vector<SDetectedSerialPort> DetectSerialPorts();
