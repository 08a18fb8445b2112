#include "CEvent.h"

#include <chrono>

CEvent::CEvent(bool initiallyOwn, bool manualReset) : m_set(initiallyOwn), m_manualReset(manualReset) {}

void CEvent::SetEvent()
{
  {
    std::lock_guard guard(m_lock);
    m_set = true;
  }
  if (m_manualReset)
    m_changed.notify_all();
  else
    m_changed.notify_one();
}

void CEvent::ResetEvent()
{
  std::lock_guard guard(m_lock);
  m_set = false;
}

bool CEvent::Lock(DWORD timeoutMs)
{
  std::unique_lock guard(m_lock);
  auto isSet = [this] { return m_set; };
  if (timeoutMs == INFINITE)
    m_changed.wait(guard, isSet);
  else if (!m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), isSet))
    return false;
  if (!m_manualReset)
    m_set = false;
  return true;
}
