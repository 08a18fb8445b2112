#pragma once
// One servo of the simulated chain: what it answers to a command line addressed to it.
#include <deque>
#include <map>
#include <optional>
#include <string>

// A command line as the servo reads it: "#5D-1500" is id 5, mnemonic "D", value "-1500".
struct SServoLine {
  int id = -1;          // -1 when there are no id digits
  std::string mnemonic; // the letters after the id, as sent
  std::string value;    // the rest
  bool IsQuery() const { return !mnemonic.empty() && (mnemonic[0] == 'Q' || mnemonic[0] == 'q'); }
  static std::optional<SServoLine> Parse(const std::string& line); // nullopt without a leading "#"
};

struct SSimulatedServo {
  int id = 1;
  bool master = false; // the servo on the USB link: answers "QUC" with 1
  int boardId = 3;
  int modelId = 1;
  std::string modelString = "HVX PRO 24";
  std::string firmwareVersion = "1.05.0120";
  std::string bootloaderVersion = "1.02.0007";
  std::string serialNumber = "2026010112000000";
  int position = 0;    // 1/100 degree
  int speed = 0;       // 1/100 degree/s
  int temperature = 2450; // 1/100 degree C
  int errorFlags = 0;
  int resetFlags = 0;     // "QRF": waiting-reset flags
  int motionStatus = 0;
  int commandError = 0;   // "QCE" when no scripted answer is queued
  std::deque<int> commandErrorAnswers; // answered to "QCE" first, one each
  bool waitingConfirm = false;
  // Answers for queries not modelled above: upper-case mnemonic -> value text.
  std::map<std::string, std::string> replies;

  // What the servo stamps while a serial number is written ("CNH", "CNL", then "CONFIRM").
  std::string pendingDate, pendingTime;
  int confirmations = 0;
  std::optional<int> targetPosition; // the last "D" value

  // The reply bytes for a line addressed to this servo (or broadcast), "\r" included; nothing for
  // actions, configurations and queries it does not know.
  std::optional<std::string> Answer(const SServoLine& line);
};
