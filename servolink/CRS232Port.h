#pragma once
// The program's COM port: a serial device opened by port name ("COM5" opens "//./COM5"), with
// Win32 read and write timeouts and synchronous reads and writes on the caller's thread. The line
// itself (speed, framing, flow control) stays as the driver has it.
//
// There is no lock: the calibration worker and the UI thread take turns, never overlap.
#include "CSerialPortFilter.h"
#include "CString.h"
#include "WinSerial.h"

class CRS232Port : public CSerialPortFilter {
public:
  static constexpr DWORD kReadBufferSize = 4096;
  // How long a text read waits for the first byte of an answer. The timeouts the protocol sets
  // (20 ms per requested byte plus 100 ms) would give a silent servo 82 s for a 4096-byte read;
  // once bytes flow, the 20 ms interval timeout ends the read as before.
  static constexpr DWORD kFirstByteTimeoutMs = 500;
  // A reply still coming this long after its first byte is no servo's: a servo writes its reply in
  // one go, and a broadcast's replies from a full chain come within a few hundred ms. Without
  // this limit a device that drips bytes, never 20 ms apart, held one read for the 82 s above.
  // A read ends at most one chunk's device timeout (20 ms x kReadChunkBytes + 100 ms) later.
  static constexpr DWORD kReplyTimeLimitMs = 1000;
  static constexpr DWORD kReadChunkBytes = 16;

  CRS232Port() = default;
  // Closes a port that its owner left open, so that the device is not left locked.
  ~CRS232Port() override;
  CRS232Port(const CRS232Port&) = delete;
  CRS232Port& operator=(const CRS232Port&) = delete;

  // Opens "//./" + name for exclusive use. On failure the open flag, the handle and the port name
  // are left as they were. Does not close a port that is already open: callers close first.
  BOOL Open(CString name);
  void Close();
  HANDLE GetHandle() const { return m_handle; }
  BOOL IsOpen() const { return m_open; }
  // A read or write on the open port failed outright (a hang-up, an I/O error: the adapter went
  // away), not merely timed out. Cleared by the next Open.
  bool IsLost() const { return m_lost; }
  CString GetPortName() const { return m_portName; }
  // Reads the current timeouts, overwrites all five and writes them back. A failed read changes
  // nothing; a failed write closes the port. Both return FALSE.
  BOOL SetTimeouts(DWORD readInterval, DWORD readTotalMultiplier, DWORD readTotalConstant,
                   DWORD writeTotalMultiplier, DWORD writeTotalConstant);

  // The text of one read (empty when the read failed).
  virtual CString ReadString();
  // One read of up to kReadBufferSize bytes, given up after kFirstByteTimeoutMs when nothing
  // comes. text is set in every case: the bytes received up to the first zero byte, widened byte
  // for byte. TRUE when the read succeeded, even with nothing received.
  virtual BOOL Read(CString& text);
  // Zeroes count bytes of buffer and reads them; TRUE only when exactly count bytes came.
  virtual BOOL Read(void* buffer, DWORD count);
  // count bytes into text through Read(void*, DWORD); text is count long, zeros where nothing came.
  virtual BOOL Read(CStringA& text, int count);
  virtual BOOL Write(const void* buffer, DWORD count);
  // The first count bytes of text (clamped to its length); TRUE when more than none were written.
  virtual BOOL Write(CStringA text, int count);
  virtual BOOL WriteString(CStringA text);

protected:
  // The read behind Read(CString&) and the protocol's reply read: up to capacity bytes, with the
  // first-byte limit in front of the device timeouts. With an interval timeout set, the bytes are
  // read in chunks, and the read also ends kReplyTimeLimitMs (tick count) after the first byte;
  // overrun (when given) tells whether it ended there or at capacity with bytes still coming,
  // that is, whether the device babbled rather than answered.
  BOOL ReadAnswer(char* buffer, DWORD capacity, DWORD* received, bool* overrun = nullptr);

private:
  // kFirstByteTimeoutMs, or the device's own total read timeout for capacity bytes when that is
  // shorter; 0 without a device.
  DWORD FirstByteWait(DWORD capacity) const;
  // Notes a failed transfer of the device as the port's loss; returns ok.
  BOOL NoteTransfer(BOOL ok);

  HANDLE m_handle = nullptr;
  COMMTIMEOUTS m_timeouts;
  BOOL m_timeoutsResult = FALSE;
  DWORD m_bytesWritten = 0;
  DWORD m_bytesRead = 0;
  BOOL m_open = FALSE;
  bool m_lost = false;
  CString m_portName;
};
