#include "SimulatedEncoder.h"

#include "SimulatedServo.h"

#include <cmath>
#include <numbers>

double CSimulatedEncoder::DefaultErrorCurve(double degrees)
{
  const double r = degrees * std::numbers::pi / 180.0;
  return 0.3 + 0.25 * std::sin(r) + 0.1 * std::cos(2 * r);
}

CSimulatedEncoder::CSimulatedEncoder(std::function<double(double)> errorCurve, double gearLag)
    : m_errorCurve(std::move(errorCurve)), m_gearLag(gearLag)
{}

double CSimulatedEncoder::Reading(const SSimulatedServo& servo) const
{
  const double angle = servo.position / 100.0;
  double reading = angle + m_errorCurve(angle) - m_direction * m_gearLag;
  if (m_correctionOn && m_table.size() == 360) {
    // Indexed the way the program files its samples: + 0.5 truncated toward zero, negative
    // indexes from the end.
    long index = long(std::trunc(reading + 0.5)) % 360;
    if (index < 0)
      index += 360;
    reading += m_table[size_t(index)] / 100.0;
  }
  return reading;
}

std::optional<std::string> CSimulatedEncoder::QueryValue(const SSimulatedServo& servo, const std::string& key)
{
  std::lock_guard guard(m_lock);
  if (key == "QST")
    return std::to_string(std::llround(servo.position / 100.0 * kStepsPerDegree));
  if (key == "QD")
    return std::to_string(std::lround(Reading(servo) * 100.0));
  return std::nullopt;
}

void CSimulatedEncoder::Act(const SSimulatedServo& servo, const std::string& key, const std::string& value)
{
  std::lock_guard guard(m_lock);
  const int number = std::atoi(value.c_str());
  if ((key == "D" || key == "MD") && servo.targetPosition != servo.moveStartPosition)
    m_direction = servo.targetPosition > servo.moveStartPosition ? 1 : -1;
  else if (key == "ECE")
    m_correctionOn = number != 0;
  else if (key == "CECF" && number == 1)
    m_table.clear();
  else if (key == "CALIBRATE") {
    m_calibrateValues.push_back(number);
    if (m_table.size() < 360)
      m_table.push_back(number);
    if (m_table.size() == 360)
      m_correctionOn = true;
  }
}

std::vector<int> CSimulatedEncoder::CalibrateValues() const
{
  std::lock_guard guard(m_lock);
  return m_calibrateValues;
}

bool CSimulatedEncoder::CorrectionOn() const
{
  std::lock_guard guard(m_lock);
  return m_correctionOn;
}

CSimulatedClock::CSimulatedClock(double scale) : m_scale(scale), m_start(Clock::now()) {}

CSimulatedClock::Clock::time_point CSimulatedClock::Now() const
{
  std::lock_guard guard(m_lock);
  const auto real = Clock::now() - m_start;
  return m_start + m_advanced +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::nano>(real) *
                                                     m_scale);
}

void CSimulatedClock::Advance(std::chrono::nanoseconds step)
{
  std::lock_guard guard(m_lock);
  m_advanced += step;
}
