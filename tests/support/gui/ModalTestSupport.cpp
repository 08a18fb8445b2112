#include "ModalTestSupport.h"

#include "MessageBoxTypes.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/timer.h>

namespace {
const char* KindName(EModalKind kind)
{
  switch (kind) {
  case EModalKind::MessageBox:
    return "message box";
  case EModalKind::StandardMessageBox:
    return "standard message box";
  case EModalKind::FileOpen:
    return "file-open dialog";
  case EModalKind::FileSave:
    return "file-save dialog";
  case EModalKind::FolderPick:
    return "folder dialog";
  case EModalKind::Dialog:
    break;
  }
  return "dialog";
}

class GuardTimer : public wxTimer {
public:
  explicit GuardTimer(std::function<void()> onTimeout) : m_onTimeout(std::move(onTimeout)) {}
  void Notify() override { m_onTimeout(); }

private:
  std::function<void()> m_onTimeout;
};

constexpr int kGuardMilliseconds = 10000;
} // namespace

CModalAnswerQueue::CModalAnswerQueue() : m_previous(SetModalResponder(this)) {}

CModalAnswerQueue::~CModalAnswerQueue()
{
  SetModalResponder(m_previous);
  EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " queued answer(s) were never asked for";
}

void CModalAnswerQueue::Queue(int result, std::vector<CString> paths)
{
  SModalAnswer answer;
  answer.result = result;
  answer.paths = std::move(paths);
  m_answers.push_back(std::move(answer));
}

SModalAnswer CModalAnswerQueue::Answer(const SModalRequest& request)
{
  m_requests.push_back(request);
  if (m_answers.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(request.kind) << " \""
                  << wxString(request.text.GetString()).utf8_string() << "\" (caption \""
                  << wxString(request.caption.GetString()).utf8_string() << "\")";
    SModalAnswer cancel;
    cancel.result = IDCANCEL;
    return cancel;
  }
  SModalAnswer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

CModalWatchdog::CModalWatchdog() = default;
CModalWatchdog::~CModalWatchdog() = default;

void CModalWatchdog::ExpectDialog(std::function<void(wxDialog*)> driver)
{
  m_drivers.push_back(std::move(driver));
}

int CModalWatchdog::Enter(wxDialog* dialog)
{
  if (m_drivers.empty()) {
    ADD_FAILURE() << "unexpected modal dialog \"" << dialog->GetTitle().utf8_string() << "\"";
    return wxID_CANCEL;
  }
  auto driver = std::move(m_drivers.front());
  m_drivers.pop_front();
  m_open = dialog;
  m_guard = std::make_unique<GuardTimer>([this] {
    if (m_open && m_open->IsModal()) {
      ADD_FAILURE() << "modal dialog \"" << m_open->GetTitle().utf8_string() << "\" was still open";
      m_open->EndModal(wxID_CANCEL);
    }
  });
  m_guard->StartOnce(kGuardMilliseconds);
  wxTheApp->CallAfter([dialog, driver] { driver(dialog); });
  return wxID_NONE;
}

void CModalWatchdog::Exit(wxDialog* dialog)
{
  if (dialog == m_open) {
    m_open = nullptr;
    m_guard.reset();
  }
}

CModalWatchdog& ModalWatchdog()
{
  static CModalWatchdog watchdog;
  return watchdog;
}
