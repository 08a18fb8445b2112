#include "AxisSteps.h"

#include <cmath>

float NiceStep(float x)
{
  if (x == 0.0f || !std::isfinite(x))
    return x;
  const bool negative = x < 0.0f;
  const double a = std::fabs(double(x));
  const double p = std::pow(10.0, std::ceil(std::log(a) / std::log(10.0)));
  const double dP = std::fabs(a - p);
  const double dH = std::fabs(a - p * 0.5);
  const double dQ = std::fabs(a - p / 2.5);
  const double dF = std::fabs(a - p / 5.0);
  const double dT = std::fabs(a - p / 10.0);
  // p / 2.5 is never chosen; it only decides between p / 5 and p / 2. At exactly 0.15 p and 0.3 p
  // every test fails and p itself comes out (NiceStep(3) is 10): callers have always seen that.
  double result = p;
  if (dQ > dF && dP > dF && dT > dF)
    result = p / 5.0;
  else if (dF > dQ && dP > dH && dT > dH)
    result = p * 0.5;
  else if (dF > dT && dH > dT && dP > dT)
    result = p / 10.0;
  const float step = float(result);
  return negative ? -step : step;
}

float RoundToStep(float x, float step)
{
  if (step == 0.0f)
    return x;
  const float shifted = x / step + 0.5f;
  return float(std::floor(double(shifted))) * step;
}

bool IsUsableStep(double step)
{
  return std::isfinite(step) && step > 0.0;
}
