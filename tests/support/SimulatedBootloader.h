#pragma once
// The bootloader's side of a firmware transfer: while it waits for firmware it takes Intel HEX
// records (a line starting with ':') as image bytes, exactly as they come, line ends included,
// and passes everything else (its command words, "#" lines) on. The end-of-file record completes
// the image; the line ends after it still belong to it.
#include <cstddef>
#include <string>

class SimulatedBootloader {
public:
  // The bytes that are not part of the image, in order.
  std::string Take(const std::string& bytes);
  // Inside an image: its bytes go on coming here even after the firmware has started.
  bool InImage() const { return m_inImage; }
  // The end-of-file record has come since the last call; the flag is cleared.
  bool TakeCompleted();
  const std::string& Image() const { return m_image; }
  // The line hangs up once this many image bytes have come (0: never).
  void SetHangUpAfter(size_t imageBytes) { m_hangUpAfter = imageBytes; }
  // The hang-up point was reached since the last call; the flag is cleared.
  bool TakeHangUp();
  void Clear();

private:
  std::string m_image;
  std::string m_record;
  bool m_inImage = false;
  bool m_lineStart = true;
  bool m_endSeen = false;
  bool m_completed = false;
  size_t m_hangUpAfter = 0;
  bool m_hangUp = false;
};
