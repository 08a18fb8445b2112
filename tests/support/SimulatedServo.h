#pragma once
// One servo of the simulated chain: its state and what it answers to a command line addressed to
// it. The servos' inner working is ours to choose; what binds is the lines the program sends and
// the reply forms it reads ("*", id, mnemonic as sent, value, "\r").
//
// Motion: "D" (absolute) and "MD" (relative) start a move toward the target at maxSpeed ("SD"),
// with no acceleration ramp; the position is worked out from the time whenever the servo is asked,
// so a poll sees the servo travel (motion status 3) and then hold (5). "H" stops and holds where
// the servo is, "L" stops and goes limp (1).
// Settings: an action or configuration with a value that has a query counterpart ("SD" -> "QSD",
// "CO" -> "QO") stores the value, so that the query reads it back.
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

class CSimulatedEncoder;

// A command line as the servo reads it: "#5D-1500" is id 5, mnemonic "D", value "-1500".
struct SServoLine {
  int id = -1;          // -1 when there are no id digits
  std::string mnemonic; // the letters after the id, as sent
  std::string value;    // the rest
  bool IsQuery() const { return !mnemonic.empty() && (mnemonic[0] == 'Q' || mnemonic[0] == 'q'); }
  std::string Key() const; // the mnemonic in upper case: servos read mnemonics in any case
  static std::optional<SServoLine> Parse(const std::string& line); // nullopt without a leading "#"
};

// Motion status codes as the status read-out names them.
enum ESimMotionStatus { kSimLimp = 1, kSimTraveling = 3, kSimHolding = 5, kSimSafeMode = 7, kSimError = 8 };

struct SSimulatedServo {
  using Clock = std::chrono::steady_clock;

  int id = 1;
  bool master = false; // the servo on the USB link: answers "QUC" with 1
  int boardId = 3;
  int modelId = 1;
  std::string modelString = "HVX PRO 24";
  std::string firmwareVersion = "1.05.0120";
  std::string bootloaderVersion = "1.02.0007";
  std::string serialNumber = "2026010112000000";
  int position = 0;                    // 1/100 degree ("QD")
  int speed = 0;                       // current speed, 1/100 degree/s ("QCS"); maxSpeed while travelling
  int maxSpeed = 6000;                 // 1/100 degree/s ("SD", "QSD"): the speed moves are made at
  int temperature = 2450;              // 1/100 degree C ("QT")
  int errorFlags = 0;                  // "QEF"
  int resetFlags = 0;                  // "QRF": waiting-reset flags; "RESET" clears them
  int motionStatus = 0;                // "Q"
  int commandError = 0;                // "QCE" when no scripted answer is queued
  std::deque<int> commandErrorAnswers; // answered to "QCE" first, one each
  bool waitingConfirm = false;
  // Answers for queries not modelled above: upper-case mnemonic -> value text. Settings written
  // by actions and configurations land here too.
  std::map<std::string, std::string> replies;

  // What the servo stamps while a serial number is written ("CNH", "CNL", then "CONFIRM").
  std::string pendingDate, pendingTime;
  int confirmations = 0;
  int resets = 0;   // "RESET" lines received
  int defaults = 0; // "DEFAULT" lines received; each clears the EEPROM error flags
  // "UPDATE" then "CONFIRM": the servo restarts into its bootloader to wait for firmware (the
  // chain takes the flag and changes its boot mode).
  bool updateRequested = false;
  bool enterBootloader = false;

  // The move under way ("QDT" answers the target).
  int targetPosition = 0;
  bool moving = false;
  int moveStartPosition = 0;
  Clock::time_point moveStart{};

  // The step counter and encoder a calibration measures (SimulatedEncoder.h); without one "QST"
  // is unknown and "QD" is the position itself. Shared by the copies GetServo hands out.
  std::shared_ptr<CSimulatedEncoder> encoder;
  // Warming: while warmingPerSecond is not 0 the temperature moves by that many 1/100 degree a
  // second from warmingFrom at warmingSince (see Warm), so traces of "QT" see it change.
  int warmingPerSecond = 0;
  int warmingFrom = 0;
  Clock::time_point warmingSince{};
  void StartWarming(int perSecond, Clock::time_point now);

  // The reply bytes for a line addressed to this servo (or broadcast), "\r" included; nothing for
  // actions, configurations and queries it does not know. now is the chain's clock.
  std::optional<std::string> Answer(const SServoLine& line, Clock::time_point now);
  // Brings the position of a move under way, and the temperature, up to now.
  void Advance(Clock::time_point now);
  void Warm(Clock::time_point now);
  void MoveTo(int target, Clock::time_point now);

private:
  void Act(const std::string& key, const SServoLine& line, Clock::time_point now);
  std::optional<std::string> QueryValue(const std::string& key);
};
