#include "WindowTimers.h"

#include <wx/timer.h>

CWindowTimers::CWindowTimers(wxEvtHandler* owner) : m_owner(owner) {}

CWindowTimers::~CWindowTimers() { KillAll(); }

void CWindowTimers::SetTimer(UINT_PTR id, UINT elapse)
{
  auto& timer = m_timers[id];
  if (!timer)
    timer = std::make_unique<wxTimer>(m_owner, int(id));
  timer->Start(int(elapse > 0 ? elapse : 1));
}

void CWindowTimers::KillTimer(UINT_PTR id)
{
  auto it = m_timers.find(id);
  if (it != m_timers.end() && it->second)
    it->second->Stop();
}

void CWindowTimers::KillAll()
{
  for (auto& entry : m_timers)
    entry.second->Stop();
}

bool CWindowTimers::IsRunning(UINT_PTR id) const
{
  auto it = m_timers.find(id);
  return it != m_timers.end() && it->second->IsRunning();
}

UINT CWindowTimers::GetElapse(UINT_PTR id) const
{
  return IsRunning(id) ? UINT(m_timers.at(id)->GetInterval()) : 0;
}

bool CWindowTimers::Fire(UINT_PTR id)
{
  if (!IsRunning(id))
    return false;
  m_timers.at(id)->Notify();
  return true;
}
