#pragma once
// What a calibration needs of a simulated servo: a step counter ("QST", 14222.222 steps per
// degree of the motor's true angle), an encoder whose reading ("QD") is off the true angle by a
// smooth error curve and trails the motion by a small gear lag, and the correction table the
// program uploads ("CECF" 1 starts it, each "CALIBRATE" adds one value, every one recorded).
// While the correction is on ("ECE" 0 turns it off, a complete table on again) and the table is
// complete, "QD" reports the corrected reading, so a verification after an upload sees what is
// left over.
//
// Attach one to a servo (SSimulatedServo::encoder); the servo's motion model moves the true
// angle. CSimulatedClock lets a test run the servo's time faster than its own, or step it.
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct SSimulatedServo;

class CSimulatedEncoder {
public:
  static constexpr double kStepsPerDegree = 14222.222;

  // A constant offset and a sine once and twice per revolution, in degrees.
  static double DefaultErrorCurve(double degrees);

  explicit CSimulatedEncoder(std::function<double(double)> errorCurve = DefaultErrorCurve,
                             double gearLag = 0.05);

  // The error the encoder reads at an angle (degrees), without the lag.
  double Error(double degrees) const { return m_errorCurve(degrees); }
  // How far each direction of travel reads behind; the lag curve of a calibration is twice this.
  double GearLag() const { return m_gearLag; }

  // The value text of the queries it answers ("QST", "QD"), nothing for any other.
  std::optional<std::string> QueryValue(const SSimulatedServo& servo, const std::string& key);
  // After the servo has acted on an action or configuration line.
  void Act(const SSimulatedServo& servo, const std::string& key, const std::string& value);

  std::vector<int> CalibrateValues() const; // every "CALIBRATE" value received, in order
  bool CorrectionOn() const;

private:
  double Reading(const SSimulatedServo& servo) const; // m_lock held

  std::function<double(double)> m_errorCurve;
  double m_gearLag;
  mutable std::mutex m_lock;
  int m_direction = 1; // of the last move: +1 clockwise, -1 counter-clockwise
  bool m_correctionOn = true;
  std::vector<int> m_table;
  std::vector<int> m_calibrateValues;
};

// A clock for SimulatedServoChain::SetClock: real time times a scale, plus whatever the test
// adds with Advance. Scale 0 gives a clock that moves only when told.
class CSimulatedClock {
public:
  using Clock = std::chrono::steady_clock;
  explicit CSimulatedClock(double scale = 1.0);
  Clock::time_point Now() const;
  void Advance(std::chrono::nanoseconds step);

private:
  mutable std::mutex m_lock;
  double m_scale;
  Clock::time_point m_start;
  std::chrono::nanoseconds m_advanced{0};
};
