#pragma once
// The numerical routines take their wide vector paths (AVX, AVX2) where the processor has them,
// and their portable SSE2 paths elsewhere; both give the same bits. Turning the wide paths off
// lets a machine that has them run the portable ones too, so that the two can be compared.
bool WidePathsAllowed();
void AllowWidePaths(bool allowed);

// How many times a wide path has run, counted by the wide routines themselves: what shows that
// turning them off really sends the work down the portable paths.
unsigned long long WidePathRuns();
void CountWidePathRun();
