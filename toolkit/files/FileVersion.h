#pragma once
// The version record of a program file. The build embeds it in the program as the bytes
// "ZVERSIONINFO" 0x01, then "major.minor.build.revision;flags=N" and a NUL, where bit 0 of N
// marks a debug build (res/VersionRecord.cpp.in).
#include "CString.h"

struct SFileVersionInfo {
  CString text; // "%d.%02d.%02d.%04d" of the four numbers, for example "1.02.03.0004"
  bool debug = false;
  CString title; // GetFileTitle of the path
  int major = 0;
  int minor = 0;
  int build = 0;
  int revision = 0;
};

// Fills the record from the file's version record and returns the major number's digits followed
// by the minor number with at least two digits (1.02.x.x gives 102). A file that cannot be read or
// holds no valid record gives 0 and leaves the record as it was.
int GetFileVersion(SFileVersionInfo& info, const CString& path);
