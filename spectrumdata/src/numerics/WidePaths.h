#pragma once
// The numerical routines take their wide vector paths (AVX, AVX2) where the processor has them,
// and their portable SSE2 paths elsewhere; both give the same bits. Turning the wide paths off
// lets a machine that has them run the portable ones too, so that the two can be compared.
bool WidePathsAllowed();
void AllowWidePaths(bool allowed);
