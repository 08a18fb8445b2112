#pragma once
// The Win32 serial calls the port classes are written against, over CSerialDevice.
//
// A HANDLE names an open device in a table rather than pointing at it, so a stale or foreign
// handle fails with ERROR_INVALID_HANDLE instead of touching freed memory, and a device that one
// thread closes stays alive until another thread's read on it has returned.
//
// CreateFileW opens serial ports only: "//./COMn" (or "\\.\COMn"), resolved to a device through
// the port list (SerialPortList.h). The last error is kept per thread, as Win32 keeps it.
#include "WinTypes.h"

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t(0));

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD MAXDWORD = 0xFFFFFFFF;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1; // the path is not a serial device
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_GEN_FAILURE = 31; // the device hung up or failed
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BAD_PATHNAME = 161;

// Times in milliseconds, with the Win32 meaning:
// - a read returns when the requested count has arrived;
// - or ReadIntervalTimeout after the last byte received (the interval timer starts with the
//   first byte; 0 means no interval timeout);
// - or ReadTotalTimeoutMultiplier x bytes requested + ReadTotalTimeoutConstant after it started
//   (both 0: no total timeout);
// - ReadIntervalTimeout MAXDWORD with both totals 0 returns at once with what is waiting;
//   ReadIntervalTimeout and ReadTotalTimeoutMultiplier MAXDWORD with a constant below MAXDWORD
//   waits up to the constant for the first byte and returns with what has come by then.
// Writes work the same way with the write total timeout. All zero: no timeouts at all.
struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};

// Security attributes, flags and template are accepted for the Win32 shape and ignored; every
// open is exclusive (shareMode is ignored too), synchronous and needs OPEN_EXISTING.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);

// A read that times out succeeds with fewer bytes (possibly none); a hang-up fails at once.
// overlapped must be null.
BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped);
// The CLEAR flags discard what the queues hold; the ABORT flags have nothing to abort here (no
// overlapped I/O) and are accepted.
BOOL PurgeComm(HANDLE handle, DWORD flags);
BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);
// Fails, as it does on Windows for an unplugged adapter, once the device has hung up.
BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);

DWORD GetLastError();
void SetLastError(DWORD error);

// Not Win32 (it stands for a wait on EV_RXCHAR): TRUE as soon as a byte is waiting to be read or
// the device has hung up (the next read then fails), FALSE when timeoutMs pass first or the
// handle is not valid.
BOOL WaitForSerialInput(HANDLE handle, DWORD timeoutMs);
