#include "ModalResponder.h"

namespace {
// Modal prompts only ever run on the UI thread.
IModalResponder* g_responder = nullptr;
} // namespace

IModalResponder* SetModalResponder(IModalResponder* responder)
{
  IModalResponder* previous = g_responder;
  g_responder = responder;
  return previous;
}

IModalResponder* GetModalResponder() { return g_responder; }

std::optional<SModalAnswer> AskModalResponder(const SModalRequest& request)
{
  if (!g_responder)
    return std::nullopt;
  return g_responder->Answer(request);
}
