#include "CCalibrationSampler.h"

#include "ServoReply.h"
#include "WinTime.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {
// As high as the system lets this process go; an ordinary user cannot raise it, and the sample
// is taken all the same.
void RaiseThreadPriority()
{
  (void)setpriority(PRIO_PROCESS, id_t(gettid()), -5);
}

// The reply's value when it is this command's own answer and a whole number: a reply that
// echoes another query, or carries no number, would turn into a sample of 0.
std::optional<int> AnsweredNumber(const CHVXProControlPort& port)
{
  const CString text = ServoReplyValueText(port.GetLastCommand(), port.GetLastReply());
  const int digitsFrom = text.Left(1) == L"-" ? 1 : 0;
  if (text.GetLength() == digitsFrom || text.GetLength() > 11)
    return std::nullopt;
  for (int i = digitsFrom; i < text.GetLength(); ++i)
    if (text[i] < L'0' || text[i] > L'9')
      return std::nullopt;
  return port.GetReplyValue();
}
} // namespace

CCalibrationSampler::~CCalibrationSampler()
{
  Join();
}

void CCalibrationSampler::Join()
{
  if (m_worker.joinable())
    m_worker.join();
}

std::optional<SCalibrationSample> CCalibrationSampler::Take(CHVXProControlPort& port, int id)
{
  Join();
  const DWORD started = GetTickCount();
  const int currentId = port.GetCurrentId();
  m_result.reset();
  CEvent done(false, true);
  m_worker = std::thread([this, &port, id, &done] {
    RaiseThreadPriority();
    m_result = Query(port, id);
    done.SetEvent();
  });
  const bool inTime = done.Lock(kWaitMs);
  Join();
  // A failed query forgets the port's current id, which the motion-status wait relies on.
  port.SetCurrentId(currentId);
  std::optional<SCalibrationSample> sample = inTime ? m_result : std::nullopt;
  if (sample) {
    m_failingSince.reset();
  } else {
    if (!m_failingSince)
      m_failingSince = started;
    m_lastFailureEnd = GetTickCount();
  }
  return sample;
}

bool CCalibrationSampler::ServoLost() const
{
  return m_failingSince && m_lastFailureEnd - *m_failingSince >= kLostAfterMs;
}

void CCalibrationSampler::ForgetFailures()
{
  m_failingSince.reset();
}

std::optional<SCalibrationSample> CCalibrationSampler::Query(CHVXProControlPort& port, int id)
{
  int values[3] = {};
  const char* mnemonics[3] = {"QST", "QD", "QST"};
  for (int i = 0; i < 3; ++i) {
    if (port.Send(id, mnemonics[i]) != CHVXProControlPort::StatusSuccess)
      return std::nullopt;
    const std::optional<int> value = AnsweredNumber(port);
    if (!value)
      return std::nullopt;
    values[i] = *value;
  }
  return CalibrationSampleFromReplies(values[0], values[1], values[2]);
}
