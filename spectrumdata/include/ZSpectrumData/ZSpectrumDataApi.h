#pragma once
// What carries ZSPECTRUMDATA_API is exported from libZSpectrumData.so; everything else in the
// library is hidden. The program binds to these names, and it allocates the exported objects
// itself, so their member layout is part of the interface as much as the names are. The same
// default visibility serves the library that defines the names and the program that imports them.
#define ZSPECTRUMDATA_API __attribute__((visibility("default")))

// For the private helpers of an exported class, which would otherwise be exported with it.
#define ZSPECTRUMDATA_LOCAL __attribute__((visibility("hidden")))
