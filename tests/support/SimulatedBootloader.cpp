#include "SimulatedBootloader.h"

#include "SimulatedServoChain.h"

namespace {
constexpr const char* kEndOfFileRecord = ":00000001FF";
}

std::string SimulatedBootloader::Take(const std::string& bytes)
{
  std::string rest;
  for (char c : bytes) {
    if (m_hangUp)
      break;
    if (m_inImage && m_endSeen && c != '\r' && c != '\n') {
      m_inImage = false;
      m_lineStart = true;
    }
    if (!m_inImage && m_lineStart && c == ':') {
      m_inImage = true;
      m_endSeen = false;
      m_record.clear();
    }
    if (!m_inImage) {
      rest += c;
      m_lineStart = c == '\r' || c == '\n';
      continue;
    }
    m_image += c;
    if (c == '\r' || c == '\n') {
      if (m_record == kEndOfFileRecord && !m_endSeen)
        m_endSeen = m_completed = true;
      m_record.clear();
    } else {
      m_record += c;
    }
    if (m_hangUpAfter > 0 && m_image.size() >= m_hangUpAfter)
      m_hangUp = true;
  }
  return rest;
}

bool SimulatedBootloader::TakeCompleted()
{
  const bool completed = m_completed;
  m_completed = false;
  return completed;
}

bool SimulatedBootloader::TakeHangUp()
{
  if (!m_hangUp)
    return false;
  m_hangUp = false;
  m_hangUpAfter = 0;
  return true;
}

void SimulatedBootloader::Clear()
{
  m_image.clear();
}

// Bytes that arrive while the bootloader waits for firmware, or while an image is still coming,
// go to the bootloader first; a completed image starts the firmware.
std::string SimulatedServoChain::FeedBootloader(const std::string& bytes)
{
  bool hangUp = false;
  std::string rest;
  {
    std::lock_guard guard(m_lock);
    if (m_bootMode != ESimBootMode::WaitingForFirmware && !m_bootloader.InImage())
      return bytes;
    rest = m_bootloader.Take(bytes);
    if (m_bootloader.TakeCompleted())
      m_bootMode = m_modeAfterJump;
    hangUp = m_bootloader.TakeHangUp();
  }
  m_changed.notify_all();
  if (hangUp)
    CloseMaster();
  return rest;
}

std::string SimulatedServoChain::ReceivedImage() const
{
  std::lock_guard guard(m_lock);
  return m_bootloader.Image();
}

std::string SimulatedServoChain::WaitForImage(size_t count, std::chrono::milliseconds timeout) const
{
  {
    std::unique_lock guard(m_lock);
    m_changed.wait_for(guard, timeout, [&] { return m_bootloader.Image().size() >= count; });
  }
  return ReceivedImage();
}

void SimulatedServoChain::HangUpAfterImageBytes(size_t count)
{
  std::lock_guard guard(m_lock);
  m_bootloader.SetHangUpAfter(count);
}
