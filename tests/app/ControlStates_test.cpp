#include "ControlStates.h"

#include <gtest/gtest.h>

namespace {
SDialogState ConnectedToServo(int id)
{
  SDialogState s;
  s.connected = true;
  s.portText = L"COM7    - simulated chain";
  s.idText.Format(L"%d - HVX-PRO - 1.0", id);
  s.currentId = id;
  s.masterId = 1;
  return s;
}
} // namespace

TEST(ControlStates, DisconnectedOffersOnlyThePortAndConnect)
{
  SDialogState s;
  SControlStates c = ComputeControlStates(s);
  EXPECT_FALSE(c.connect) << "no port chosen yet";
  EXPECT_TRUE(c.portCombo);
  EXPECT_EQ(c.connectCaption, L"Connect");

  s.portText = L"COM7";
  c = ComputeControlStates(s);
  EXPECT_TRUE(c.connect);
  EXPECT_FALSE(c.idCombo);
  EXPECT_FALSE(c.commandCombos);
  EXPECT_FALSE(c.servoCommands);
  EXPECT_FALSE(c.firmwareUpdate);
  EXPECT_FALSE(c.pause);
  EXPECT_FALSE(c.restart);
  EXPECT_TRUE(c.traceAndActionButtons);
}

TEST(ControlStates, ConnectedServoEnablesThePanelsOncePicked)
{
  SDialogState s = ConnectedToServo(1);
  SControlStates c = ComputeControlStates(s);
  EXPECT_EQ(c.connectCaption, L"Disconnect");
  EXPECT_FALSE(c.portCombo);
  EXPECT_TRUE(c.idCombo);
  EXPECT_TRUE(c.commandCombos);
  EXPECT_TRUE(c.servoCommands);
  EXPECT_FALSE(c.querySend) << "no query picked";
  EXPECT_TRUE(c.firmwareUpdate) << "the master is selected";
  EXPECT_TRUE(c.pause);
  EXPECT_FALSE(c.restart) << "traces not running";

  s.queryText = L"QD              Position in 1/100 degrees";
  s.tracesRunning = true;
  c = ComputeControlStates(s);
  EXPECT_TRUE(c.querySend);
  EXPECT_FALSE(c.actionSend);
  EXPECT_TRUE(c.restart);

  s = ConnectedToServo(3);
  c = ComputeControlStates(s);
  EXPECT_FALSE(c.firmwareUpdate) << "servo 3 is not the one on the USB link";

  s.idText.Empty();
  s.tracesRunning = true;
  c = ComputeControlStates(s);
  EXPECT_FALSE(c.commandCombos);
  EXPECT_FALSE(c.servoCommands);
  EXPECT_FALSE(c.pause) << "no servo, no trace to pause";
  EXPECT_FALSE(c.restart);
}

TEST(ControlStates, RunningFirmwareWriterLocksEverythingButNoFirmwareRow)
{
  SDialogState s = ConnectedToServo(1);
  s.firmwareWriterRunning = true;
  s.actionText = L"D";
  SControlStates c = ComputeControlStates(s);
  EXPECT_FALSE(c.connect);
  EXPECT_FALSE(c.idCombo);
  EXPECT_FALSE(c.portCombo);
  EXPECT_FALSE(c.actionSend);
  EXPECT_FALSE(c.servoCommands);
  EXPECT_FALSE(c.traceAndActionButtons);
  EXPECT_FALSE(c.firmwareUpdate);

  SDialogState boot;
  boot.idText = L"0 - No Firmware";
  EXPECT_TRUE(ComputeControlStates(boot).firmwareUpdate) << "even disconnected";
  boot.portText = L"COM7";
  boot.connected = true;
  boot.bootloader = true;
  boot.idText.Empty();
  c = ComputeControlStates(boot);
  EXPECT_TRUE(c.firmwareUpdate);
  EXPECT_FALSE(c.idCombo) << "a bootloader has no servo ids";
}
