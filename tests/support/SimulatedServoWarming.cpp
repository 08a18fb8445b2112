// The simulated servo's temperature over time: a steady climb (or fall) from a start, so that a
// trace of the temperature has something to show.
#include "SimulatedServo.h"

void SSimulatedServo::StartWarming(int perSecond, Clock::time_point now)
{
  warmingPerSecond = perSecond;
  warmingFrom = temperature;
  warmingSince = now;
}

void SSimulatedServo::Warm(Clock::time_point now)
{
  if (warmingPerSecond == 0)
    return;
  const double seconds = std::chrono::duration<double>(now - warmingSince).count();
  temperature = warmingFrom + int(seconds * warmingPerSecond);
}
