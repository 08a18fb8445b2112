#pragma once
// The update server's compatibility table: one header row ("Config", "Bootloader", "Board",
// "Model", "Firmware", "Status", found by heading in any order) and one row per release. Only rows
// whose status is exactly "alpha", "beta" or "public" count. A column the table lacks reads as
// empty cells.
#include "CString.h"
#include "CZStringGrid.h"

#include <string>

// Where the three downloads live on the update server.
extern const char* const kCompatibilityTablePath;
std::string FirmwarePath(const CString& normalisedFirmwareVersion);
std::string InstallerPath(const CString& programVersion);

// Parses a downloaded table body into the grid through a temporary text file at filePath, which is
// deleted again. Carriage returns are dropped and the body ends at its byte count (or at a zero
// byte). False, with the grid sized to 10 empty data rows of 6 columns, for an empty body or a
// file that cannot be written.
bool ParseCompatibilityTable(const std::string& body, const CString& filePath, CZStringGrid& table);

// What the selected servo reports of itself.
struct SServoIdentity {
  int boardId = 0;
  int modelId = 0;
  long long bootloaderVersion = 0; // ParseVersion numbers
  long long firmwareVersion = 0;
};

// True when a row for this program, the servo's bootloader, board and model range lists a newer
// firmware than the servo's. The last such row in table order wins (rows are not compared with
// each other); latestFirmware becomes its normalised Firmware text.
bool FindNewFirmware(const CZStringGrid& table, long long programVersion, const SServoIdentity& servo,
                     CString& latestFirmware);
// True when the table lists a program newer than programVersion; latestProgram becomes the newest
// one's Config text as written.
bool FindNewProgram(const CZStringGrid& table, long long programVersion, CString& latestProgram);

// A Model cell "low-high" (a blank may stand for the '-') holds the ids from low to high; a cell
// without a delimiter has a high bound of 0.
bool ModelRangeContains(const CString& cell, int modelId);
