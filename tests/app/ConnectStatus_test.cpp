#include "ConnectStatus.h"
#include "ScopedEnvironment.h"
#include "SerialPortList.h"
#include "TempUserFolders.h"
#include "TestFiles.h"
#include "TextConversion.h"
#include "WinSerial.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(ConnectStatus, EachFailureHasItsOwnMessage)
{
  EXPECT_EQ(ConnectFailureMessage(1), L"HVX PRO device not found at this port!");
  EXPECT_EQ(ConnectFailureMessage(2),
            L"Master id not found!\nTry disconnecting and reconnecting the usb cable "
            L"and/or toggle the power to the connected servo.");
  EXPECT_EQ(ConnectFailureMessage(7),
            L"Port not available!\nMake sure it is not already connected through another application.");
  EXPECT_EQ(ConnectFailureMessage(8), L"Port configuration failed!");
  EXPECT_EQ(ConnectFailureMessage(11), L"Servo not found!");
  EXPECT_EQ(ConnectFailureMessage(13), L"Serial port timeout!");
  for (int other : {3, 6, 9, 16, -1})
    EXPECT_EQ(ConnectFailureMessage(other), L"Unknown error trying to connect!") << other;
  // Answered by the read-outs or a question instead of a box.
  for (int handled : {0, 14, 15})
    EXPECT_EQ(ConnectFailureMessage(handled), L"") << handled;
}

// A port the user may not open gets the device and its group named; a port held by another
// program or a device that is gone keep the box's own text. The refused open is real: as a user,
// a file of mode 000; as root (CI), who passes every mode, a read-only sysfs file, which the
// kernel refuses to open for writing to everyone.
TEST(ConnectStatus, RefusedAccessNamesTheDeviceAndTheGroupThatOwnsIt)
{
  TempFolder folder;
  std::string path = (folder.Path() / "servo").string();
  if (geteuid() != 0) {
    WriteBytes(path, "");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
  } else if (access("/sys/kernel/uevent_seqnum", F_OK) == 0) {
    path = "/sys/kernel/uevent_seqnum";
  } else {
    GTEST_SKIP() << "no file that refuses root";
  }
  const std::string ports = "COM77=" + path + ";COM78=" + (folder.Path() / "gone").string();
  ScopedEnvironment environment("HVX_SERIAL_PORTS", ports.c_str());

  ASSERT_EQ(CreateFileW(L"//./COM77", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  const DWORD refused = GetLastError();
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  const CString group = FromUtf8(getgrgid(info.st_gid)->gr_name);
  const CString hint = PortAccessHint(refused, GetSerialDevicePath(L"COM77"));
  EXPECT_GE(hint.Find(FromUtf8(path)), 0) << ToUtf8(hint);
  EXPECT_GE(hint.Find(L"\"" + group + L"\""), 0) << ToUtf8(hint);
  EXPECT_GE(hint.Find(L"usermod -aG " + group), 0) << ToUtf8(hint);

  CreateFileW(L"//./COM78", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(PortAccessHint(GetLastError(), GetSerialDevicePath(L"COM78")), L"");
  EXPECT_EQ(PortAccessHint(ERROR_SHARING_VIOLATION, path), L"");
}
