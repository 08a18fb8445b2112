#pragma once
// The servo protocol on top of the COM port. A command line is "#", the servo id in decimal, the
// mnemonic and an optional decimal value, ended by "\r"; a query (mnemonic starting with "Q" or
// "q") and the bootloader word "STATUS" are answered by one reply line, "*", id, mnemonic, value,
// "\r". Every call is synchronous; the object keeps the last command, the last reply and the
// status of the last transaction for the caller to read.
#include "CRS232Port.h"
#include "CString.h"

class CHVXProControlPort : public CRS232Port {
public:
  // Status codes of Connect, Send, Transact, StartFirmware and WriteSerialNumber.
  enum Status : int {
    StatusSuccess = 0,
    StatusDeviceNotFound = 1,   // no "*" in the answer to the "QID" broadcast
    StatusMasterNotFound = 2,   // no listed servo answered "QUC" with a value ending in 1
    StatusNotACommand = 3,      // the line neither starts with "#" nor is "STATUS"
    StatusNoReply = 6,          // expected reply missing or cut short, or its line not written
    StatusPortNotAvailable = 7, // the port could not be opened
    StatusFailed = 9,           // firmware start or serial-number write failed
    StatusWaitingForFirmware = 14,
    StatusBootloaderCommandMode = 15,
    StatusSerialNumberRefused = 16,
  };
  // QueryBootStatus results that callers act on (the words behind them are in ServoReply.h).
  static constexpr int kBootFirmwareStarted = 1;
  static constexpr int kBootCommandMode = 2;

  static constexpr int kBroadcastId = 254;
  // The longest reply a servo sends is about 30 bytes ("*253QMS", a model or serial number text,
  // "\r"); one far longer is a device babbling. A broadcast's replies from a full chain of 254
  // servos fit kReadBufferSize.
  static constexpr DWORD kMaxReplyBytes = 256;
  static constexpr int kNoServo = -1;

  CHVXProControlPort() = default;

  // --- command lines
  int Send(int id, const char* mnemonic);            // "#%d%s"
  int Send(int id, const char* mnemonic, int value); // "#%d%s%d"
  int SendBroadcast(const char* mnemonic);           // to id 254
  // Sends one line (without its "\r") and, when it expects one, reads its reply. Lines that are
  // not commands are refused with 3 before anything is written. A line that expects no reply
  // gives 0 whatever its write did. A non-zero status sets the current id to -1. A reply cut
  // short (no closing "\r") gives 6 but stays as the last reply. Silence leaves it empty, and so
  // does babble: bytes past kMaxReplyBytes (kReadBufferSize for the broadcast id) or still coming
  // kReplyTimeLimitMs after the first, which give 6 as well.
  // The last Transact ended on babble (see above).
  bool LastReplyOverran() const { return m_replyOverran; }
  int Transact(CString line);
  // The value of the last reply for the last command (ServoReplyValue); 0 for an empty reply and
  // after status 6, whose reply may be cut short.
  int GetReplyValue() const;

  CString GetLastCommand() const { return m_lastCommand; }
  CString GetLastReply() const { return m_lastReply; }
  int GetStatus() const { return m_status; }
  int GetMasterId() const { return m_masterId; }
  bool IsConnected() const { return m_connected; }
  int GetCurrentId() const { return m_currentId; }
  int GetComPortNumber() const { return m_comPortNumber; }
  void SetCurrentId(int id) { m_currentId = id; }

  // --- connecting
  // Opens "COM<portNumber>", checks the bootloader, asks every servo for its id and finds the
  // one attached over USB (the master). 0 (connected), 1 (no servo answered, port left open),
  // 2 (no master, port closed), 7 (open failed), 14 (the bootloader waits for firmware,
  // connected) or 15 (bootloader in command mode, port left open). Stored as the status.
  int Connect(int portNumber);
  // Closes the port and clears the connected flag; ids and texts stay.
  void Disconnect();

  // --- typed queries: their default when not connected, when the send fails or when the reply
  // does not hold the mnemonic
  int QueryBoardId(int id);               // "QBI", 0
  CString QueryBootloaderVersion(int id); // "QBLV" with value 3, empty
  CString QueryFirmwareVersion(int id);   // "QF" with value 3, empty
  int QueryCommandError(int id);          // "QCE", 1
  CString QueryModelString(int id);       // "QMS", empty
  int QueryModelId(int id);               // "QMI", 0
  CString QuerySerialNumber(int id);      // "QN", empty
  // "Q" to the current id through GetReplyValue; 0 and nothing sent when not connected or no
  // servo is current.
  int QueryMotionStatus();
  // "QWC" through GetReplyValue, sent even when not connected: true when the value is above 0.
  bool QueryWaitingConfirm(int id);

  // --- bootloader
  // Writes one bootloader word with "\r" (no purge, the last command untouched) and, except for
  // "jmp", reads its answer into the last reply with every "\r" removed. 6 only when the write
  // of a word that expects an answer failed; silence is not an error here.
  int BootCommand(const char* word);
  // "STATUS" through BootCommand, mapped by BootStatusFromAnswer; 0 when it could not be sent.
  int QueryBootStatus();
  // "jmp", a 3 s wait, a new connect and a status check; the port is closed afterwards. 0 when
  // the bootloader reports the firmware started, else 9. Not stored as the status.
  int StartFirmware();
  // Stamps the servo with a serial number from the local date ("CNH") and time ("CNL"), each
  // checked with "QCE", then "CONFIRM". 0, 16 (command error 1) or 9 (another error); nothing
  // is confirmed after an error. Not stored as the status.
  int WriteSerialNumber(int id);

private:
  int SetStatus(int status);
  int Exchange(const CString& line);
  void FindMaster(const CString& idList);
  bool QueryText(int id, const char* mnemonic, const int* value, CString& text);
  int QueryInt(int id, const char* mnemonic, int fallback);
  int StampPart(int id, const char* mnemonic, const CString& digits);

  bool m_connected = false;
  bool m_replyOverran = false;
  int m_status = StatusSuccess;
  CString m_lastCommand;
  CString m_lastReply;
  CString m_reserved; // part of the layout, used by nothing
  int m_currentId = kNoServo;
  int m_masterId = kNoServo;
  int m_comPortNumber = 0;
};
