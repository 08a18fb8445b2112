#pragma once
// Which controls of the main dialog are enabled, and the Connect caption, from the dialog's state.
// The dialog's UpdateControls applies the result; nothing else decides enable states.
#include "CString.h"

struct SDialogState {
  bool connected = false;
  bool firmwareWriterRunning = false;
  bool bootloader = false;
  CString portText;
  CString idText;
  int currentId = -1;
  int masterId = -1;
  CString queryText;
  CString actionText;
  CString configText;
  bool tracesRunning = false; // the trace start tick is not 0
};

struct SControlStates {
  bool connect = false;
  CString connectCaption;
  bool idCombo = false;
  bool firmwareUpdate = false;
  bool portCombo = false;
  bool commandCombos = false; // query, action and configuration combos
  bool querySend = false;
  bool actionSend = false; // Send and value edit of the action panel
  bool configSend = false; // Send and value edit of the configuration panel
  // RESET, DEFAULT, both STOP buttons, the free-format edit and its Send
  bool servoCommands = false;
  bool traceAndActionButtons = false;
  bool restart = false; // connected, idle, a servo selected and traces running
  bool pause = false;   // connected, idle and a servo selected
};

SControlStates ComputeControlStates(const SDialogState& state);
