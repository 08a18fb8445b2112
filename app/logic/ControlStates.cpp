#include "ControlStates.h"

#include "ServoReplies.h"

SControlStates ComputeControlStates(const SDialogState& s)
{
  const bool idle = !s.firmwareWriterRunning;
  const bool port = !s.portText.IsEmpty();
  const bool id = !s.idText.IsEmpty();
  const bool ready = id && s.connected && idle;

  SControlStates c;
  c.connect = port && idle;
  c.connectCaption = s.connected ? L"Disconnect" : L"Connect";
  c.idCombo = port && s.connected && !s.bootloader && idle;
  c.firmwareUpdate = (s.bootloader && idle) ||
                     (id && port && s.connected && s.currentId == s.masterId && idle) ||
                     s.idText == kNoFirmwareRow;
  c.portCombo = !s.connected && idle;
  c.commandCombos = ready;
  c.querySend = ready && !s.queryText.IsEmpty();
  c.actionSend = ready && !s.actionText.IsEmpty();
  c.configSend = ready && !s.configText.IsEmpty();
  c.servoCommands = ready;
  c.traceAndActionButtons = idle;
  // Without a servo no trace runs: a pause or restart there would act on traces that ended.
  c.restart = s.connected && idle && id && s.tracesRunning;
  c.pause = s.connected && idle && id;
  return c;
}
