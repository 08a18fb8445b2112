#pragma once
// The check a firmware file passes before anything is sent to a servo: the writer streams the
// file's bytes to the bootloader as they are, so an HTML error page or a wrong file would be
// flashed as it stands.
#include <cstddef>
#include <cstdint>

// True for an Intel HEX text: record lines ":" + count, address, type, data and checksum in hex
// digits, each record's bytes summing to 0 mod 256, record types 00 to 05, at least one data
// record with a byte in it (a file of address records alone would flash nothing), ended by the
// end-of-file record ":00000001FF". Lines end with "\n" or "\r\n"; only line ends may follow the
// end-of-file record.
bool IsIntelHexImage(const uint8_t* bytes, size_t size);
