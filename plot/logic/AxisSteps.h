#pragma once
// Round numbers for axis limits, grid lines and tick labels.

// A round step near x: 1, 2 or 5 times a power of ten, with the sign of x. NiceStep(0) is 0; a NaN or
// infinite x comes back unchanged, so callers that test the step see it.
float NiceStep(float x);

// x rounded to the nearest multiple of step; x itself when step is 0.
float RoundToStep(float x, float step);

// A step that a grid or label loop can advance by: finite and above 0.
bool IsUsableStep(double step);

// Axis ranges. A paint maps a value v to (v - lo) x pixels / (hi - lo) in float: the span has to be
// a finite float, with room to spare, and wide enough that float tells values across it apart
// and the pixels per unit stay finite.
// The widest span an axis may have: half the float range.
double MaximumAxisSpan();
// The narrowest span an axis with these ends may have: a few floats at their magnitude, and
// never below 1e-30.
double MinimumAxisSpan(double lo, double hi);
// Finite ends in order, with a span between those two. A drawable range is checked with half the
// minimum, so that the float ends of a range made exactly that wide still pass.
bool IsDrawableRange(float lo, float hi);
// Half the width that an automatic range with no room (a flat trace, a single sample) is given
// around its value c: a round step of |c| / 10, or 1 at 0.
double FlatHalfWidth(double c);
// The automatic ends of an axis made drawable; an end that is fixed stays, unless float has no
// room beyond it. A collapsed automatic range is widened around its value, one that is too wide
// is cut around its middle, and an automatic end on the wrong side of a fixed one goes the
// data's span (or FlatHalfWidth) beyond it. Both ends fixed are left alone: their setters answer
// for them.
void MakeDrawableRange(float& lo, float& hi, bool loFixed, bool hiFixed, double dataSpan);
// lo rounded down and hi up to multiples of |step|: never narrower than before. An end whose
// rounding would pass float, or the widest span, stays unrounded.
void RoundRangeOutward(float& lo, float& hi, float step);
