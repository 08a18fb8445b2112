#include "CCalibrationSampler.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {
// As high as the system lets this process go; an ordinary user cannot raise it, and the sample
// is taken all the same.
void RaiseThreadPriority()
{
  (void)setpriority(PRIO_PROCESS, id_t(gettid()), -5);
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
  return inTime ? m_result : std::nullopt;
}

std::optional<SCalibrationSample> CCalibrationSampler::Query(CHVXProControlPort& port, int id)
{
  int values[3] = {};
  const char* mnemonics[3] = {"QST", "QD", "QST"};
  for (int i = 0; i < 3; ++i) {
    if (port.Send(id, mnemonics[i]) != CHVXProControlPort::StatusSuccess)
      return std::nullopt;
    values[i] = port.GetReplyValue();
  }
  return CalibrationSampleFromReplies(values[0], values[1], values[2]);
}
