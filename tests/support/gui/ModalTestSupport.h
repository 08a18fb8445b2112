#pragma once
// Modal prompts in GUI tests. CModalAnswerQueue answers the program's prompts (message boxes,
// file dialogs) from a queue and records what was asked; a prompt with no answer queued fails
// the test. ModalWatchdog() is registered for every GUI test: a real modal dialog that the test
// did not announce with ExpectDialog fails the test and is closed at once, so nothing hangs.
#include "CString.h"
#include "ModalResponder.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include <wx/modalhook.h>

class wxDialog;
class wxTimer;

class CModalAnswerQueue : public IModalResponder {
public:
  CModalAnswerQueue();
  ~CModalAnswerQueue() override;
  CModalAnswerQueue(const CModalAnswerQueue&) = delete;
  CModalAnswerQueue& operator=(const CModalAnswerQueue&) = delete;

  void Queue(int result, std::vector<CString> paths = {});
  const std::vector<SModalRequest>& Requests() const { return m_requests; }
  size_t Pending() const { return m_answers.size(); }

  SModalAnswer Answer(const SModalRequest& request) override;

private:
  IModalResponder* m_previous;
  std::deque<SModalAnswer> m_answers;
  std::vector<SModalRequest> m_requests;
};

class CModalWatchdog : public wxModalDialogHook {
public:
  CModalWatchdog();
  ~CModalWatchdog() override;

  // The next real modal dialog is expected: driver runs once it shows (from its modal loop) and
  // should end it. A dialog still open after a few seconds fails the test and is closed.
  void ExpectDialog(std::function<void(wxDialog*)> driver);
  size_t PendingDrivers() const { return m_drivers.size(); }

protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;

private:
  std::deque<std::function<void(wxDialog*)>> m_drivers;
  std::unique_ptr<wxTimer> m_guard;
  wxDialog* m_open = nullptr;
};

CModalWatchdog& ModalWatchdog();
