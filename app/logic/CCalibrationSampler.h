#pragma once
// One calibration sample at a time, taken by a short-lived worker thread while the caller waits:
// "QST", "QD", "QST" to the servo. The caller gives up on the sample after kWaitMs, but not on
// the worker: Take returns only once the worker has ended (its queries are bounded by the port's
// own timeouts), so a late worker never talks on the port together with the caller's next
// command, never overlaps the next sample's worker and never outlives the port.
#include "CEvent.h"
#include "CHVXProControlPort.h"
#include "EncoderCalibration.h"

#include <optional>
#include <thread>

class CCalibrationSampler {
public:
  static constexpr DWORD kWaitMs = 1000;
  // How long samples may fail one after another before the servo counts as gone: a few samples
  // of a silent servo (each gives up after the port's first-byte wait), dozens of garbled ones.
  static constexpr DWORD kLostAfterMs = 2000;

  CCalibrationSampler() = default;
  ~CCalibrationSampler();
  CCalibrationSampler(const CCalibrationSampler&) = delete;
  CCalibrationSampler& operator=(const CCalibrationSampler&) = delete;

  // The sample of servo id, or nothing when one of its queries failed or was answered with
  // anything but its own echo and a number, or when the worker did not finish within kWaitMs.
  // The port's current id is as it was before.
  std::optional<SCalibrationSample> Take(CHVXProControlPort& port, int id);
  // True once every sample for kLostAfterMs, from the start of the first failed one to the end
  // of the last, has failed. A sample that succeeds, or ForgetFailures, starts the count anew.
  bool ServoLost() const;
  void ForgetFailures();

private:
  // The worker's body.
  static std::optional<SCalibrationSample> Query(CHVXProControlPort& port, int id);
  void Join();

  std::thread m_worker;
  std::optional<SCalibrationSample> m_result; // written by the worker before it signals
  std::optional<DWORD> m_failingSince;        // tick count at the start of the first failed sample
  DWORD m_lastFailureEnd = 0;
};
