#include "AxisSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

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

double MaximumAxisSpan()
{
  return double(std::numeric_limits<float>::max()) * 0.5;
}

double MinimumAxisSpan(double lo, double hi)
{
  return std::max(1e-30, std::max(std::fabs(lo), std::fabs(hi)) * 0x1p-20);
}

bool IsDrawableRange(float lo, float hi)
{
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi))
    return false;
  const double span = double(hi) - double(lo);
  return span <= MaximumAxisSpan() * 1.0001 && span >= MinimumAxisSpan(lo, hi) * 0.5;
}

double FlatHalfWidth(double c)
{
  if (c == 0.0 || !std::isfinite(c))
    return 1.0;
  return std::max(std::fabs(double(NiceStep(float(std::fabs(c) / 10.0)))), 1e-29);
}

namespace {
double HeldInFloat(double v)
{
  constexpr double kMax = std::numeric_limits<float>::max();
  return std::clamp(v, -kMax, kMax);
}

// The automatic end beyond a fixed one, the given way up (+1) or down (-1).
double EndBeyond(double fixed, double autoEnd, int direction, double dataSpan)
{
  const double room = (autoEnd - fixed) * direction;
  if (room >= MinimumAxisSpan(fixed, autoEnd) && room <= MaximumAxisSpan())
    return HeldInFloat(autoEnd);
  double step = dataSpan >= MinimumAxisSpan(fixed, fixed) && dataSpan <= MaximumAxisSpan()
                    ? dataSpan
                    : FlatHalfWidth(fixed);
  if (room > MaximumAxisSpan())
    step = MaximumAxisSpan();
  step = std::max(step, MinimumAxisSpan(fixed, fixed + direction * step));
  return HeldInFloat(fixed + direction * step);
}
} // namespace

void MakeDrawableRange(float& lo, float& hi, bool loFixed, bool hiFixed, double dataSpan)
{
  if (loFixed && hiFixed)
    return;
  double a = lo, b = hi;
  if (!loFixed && !std::isfinite(a))
    a = std::isfinite(b) ? b : 0.0;
  if (!hiFixed && !std::isfinite(b))
    b = a;
  if (!loFixed && !hiFixed) {
    if (a > b)
      std::swap(a, b);
    const double c = a * 0.5 + b * 0.5;
    if (!(b - a >= MinimumAxisSpan(a, b))) {
      const double w = FlatHalfWidth(c);
      a = c - w;
      b = c + w;
    }
    if (b - a > MaximumAxisSpan()) {
      a = c - MaximumAxisSpan() * 0.5;
      b = c + MaximumAxisSpan() * 0.5;
    }
    a = HeldInFloat(a);
    b = HeldInFloat(b);
  } else if (loFixed) {
    if (!std::isfinite(a))
      return;
    b = EndBeyond(a, b, 1, dataSpan);
    // A fixed end at the top of float: only there does it give way.
    if (!(b - a >= MinimumAxisSpan(a, b)))
      a = b - FlatHalfWidth(b);
  } else {
    if (!std::isfinite(b))
      return;
    a = EndBeyond(b, a, -1, dataSpan);
    if (!(b - a >= MinimumAxisSpan(a, b)))
      b = a + FlatHalfWidth(a);
  }
  lo = float(a);
  hi = float(b);
}

void RoundRangeOutward(float& lo, float& hi, float step)
{
  const double s = std::fabs(double(step));
  if (!(s > 0.0) || !std::isfinite(s) || !std::isfinite(lo) || !std::isfinite(hi))
    return;
  constexpr double kMax = std::numeric_limits<float>::max();
  double a = std::floor(double(lo) / s) * s;
  double b = std::ceil(double(hi) / s) * s;
  // float(a) may round back up past lo: then the next float below.
  float fa = std::fabs(a) <= kMax ? float(a) : lo;
  float fb = std::fabs(b) <= kMax ? float(b) : hi;
  if (fa > lo)
    fa = std::nextafter(fa, -INFINITY);
  if (fb < hi)
    fb = std::nextafter(fb, INFINITY);
  if (!std::isfinite(fa))
    fa = lo;
  if (!std::isfinite(fb))
    fb = hi;
  if (double(fb) - double(fa) > MaximumAxisSpan())
    return;
  lo = fa;
  hi = fb;
}
