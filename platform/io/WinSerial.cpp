#include "WinSerial.h"

#include "CString.h"
#include "SerialDevice.h"
#include "SerialPortList.h"

#include <mutex>
#include <unordered_map>

namespace {
struct HandleTable {
  std::mutex lock;
  uintptr_t next = 1;
  std::unordered_map<uintptr_t, std::shared_ptr<CSerialDevice>> devices;
};

HandleTable& TheTable()
{
  static HandleTable table;
  return table;
}

thread_local DWORD t_lastError = ERROR_SUCCESS;

std::shared_ptr<CSerialDevice> Lookup(HANDLE handle)
{
  HandleTable& table = TheTable();
  std::lock_guard guard(table.lock);
  auto it = table.devices.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.devices.end()) {
    t_lastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  return it->second;
}

HANDLE Fail(DWORD error)
{
  t_lastError = error;
  return INVALID_HANDLE_VALUE;
}

BOOL Result(bool ok, DWORD error)
{
  t_lastError = ok ? ERROR_SUCCESS : error;
  return ok ? TRUE : FALSE;
}

// "//./COM5" and "\\.\COM5" both name the port COM5.
CString PortNameOfPath(const CString& path)
{
  if (path.GetLength() > 4 && (path.Left(4) == L"//./" || path.Left(4) == L"\\\\.\\"))
    return path.Mid(4);
  return CString();
}
} // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, void*, DWORD creationDisposition, DWORD,
                   HANDLE)
{
  if (!fileName || creationDisposition != OPEN_EXISTING ||
      (desiredAccess & (GENERIC_READ | GENERIC_WRITE)) == 0)
    return Fail(ERROR_INVALID_PARAMETER);
  CString portName = PortNameOfPath(fileName);
  if (portName.IsEmpty())
    return Fail(ERROR_FILE_NOT_FOUND);
  std::string device = GetSerialDevicePath(portName);
  if (device.empty())
    return Fail(ERROR_FILE_NOT_FOUND);
  DWORD error = ERROR_SUCCESS;
  std::shared_ptr<CSerialDevice> opened = CSerialDevice::Open(device, &error);
  if (!opened)
    return Fail(error);
  HandleTable& table = TheTable();
  std::lock_guard guard(table.lock);
  uintptr_t id = table.next++;
  table.devices.emplace(id, std::move(opened));
  t_lastError = ERROR_SUCCESS;
  return reinterpret_cast<HANDLE>(id);
}

BOOL CloseHandle(HANDLE handle)
{
  std::shared_ptr<CSerialDevice> device;
  {
    HandleTable& table = TheTable();
    std::lock_guard guard(table.lock);
    auto it = table.devices.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.devices.end())
      return Result(false, ERROR_INVALID_HANDLE);
    device = std::move(it->second);
    table.devices.erase(it);
  }
  // The descriptor closes when the last user lets go: here, or when a read on another thread ends.
  device.reset();
  return Result(true, ERROR_SUCCESS);
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped)
{
  DWORD dummy = 0;
  DWORD& done = bytesRead ? *bytesRead : dummy;
  done = 0;
  if (overlapped || (!buffer && bytesToRead > 0))
    return Result(false, ERROR_INVALID_PARAMETER);
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  DWORD error = ERROR_SUCCESS;
  bool ok = device->Read(buffer, bytesToRead, &done, &error);
  return Result(ok, error);
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped)
{
  DWORD dummy = 0;
  DWORD& done = bytesWritten ? *bytesWritten : dummy;
  done = 0;
  if (overlapped || (!buffer && bytesToWrite > 0))
    return Result(false, ERROR_INVALID_PARAMETER);
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  DWORD error = ERROR_SUCCESS;
  bool ok = device->Write(buffer, bytesToWrite, &done, &error);
  return Result(ok, error);
}

BOOL PurgeComm(HANDLE handle, DWORD flags)
{
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  bool ok = device->Purge((flags & PURGE_RXCLEAR) != 0, (flags & PURGE_TXCLEAR) != 0);
  return Result(ok, ERROR_GEN_FAILURE);
}

BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts)
{
  if (!timeouts)
    return Result(false, ERROR_INVALID_PARAMETER);
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  *timeouts = device->GetTimeouts();
  return Result(true, ERROR_SUCCESS);
}

BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts)
{
  if (!timeouts)
    return Result(false, ERROR_INVALID_PARAMETER);
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  if (device->IsHungUp())
    return Result(false, ERROR_GEN_FAILURE);
  device->SetTimeouts(*timeouts);
  return Result(true, ERROR_SUCCESS);
}

DWORD GetLastError()
{
  return t_lastError;
}

void SetLastError(DWORD error)
{
  t_lastError = error;
}

BOOL WaitForSerialInput(HANDLE handle, DWORD timeoutMs)
{
  auto device = Lookup(handle);
  if (!device)
    return FALSE;
  return Result(device->WaitForInput(timeoutMs), ERROR_SUCCESS);
}
