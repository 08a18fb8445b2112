#pragma once
// Round numbers for axis limits, grid lines and tick labels.

// A round step near x: 1, 2 or 5 times a power of ten, with the sign of x. NiceStep(0) is 0; a NaN or
// infinite x comes back unchanged, so callers that test the step see it.
float NiceStep(float x);

// x rounded to the nearest multiple of step; x itself when step is 0.
float RoundToStep(float x, float step);

// A step that a grid or label loop can advance by: finite and above 0.
bool IsUsableStep(double step);
