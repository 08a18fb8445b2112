#include "CCmdInfoList.h"

#include <algorithm>

namespace {
constexpr int kMnemonicColumnWidth = 16;

// The walk every reader of the table shares: from the head to the end or to the first row
// without a mnemonic.
template <typename Visit> void ForEachListedRow(const CCmdInfoList& list, Visit visit)
{
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    const SCmdInfo& row = list.GetNext(pos);
    if (row.mnemonic.IsEmpty())
      return;
    visit(row);
  }
}

std::vector<CString> EditorMnemonics(const CCmdInfoList& list, bool queries)
{
  std::vector<CString> mnemonics;
  ForEachListedRow(list, [&](const SCmdInfo& row) {
    if ((CommandComboOf(row.mnemonic) == ECommandCombo::Query) != queries)
      return;
    if (std::find(mnemonics.begin(), mnemonics.end(), row.mnemonic) == mnemonics.end())
      mnemonics.push_back(row.mnemonic);
  });
  return mnemonics;
}
} // namespace

void CCmdInfoList::AddCmd(const char* mnemonic, const char* description, int level)
{
  SCmdInfo row;
  row.mnemonic = CString(mnemonic);
  row.description = CString(description);
  row.level = level;
  AddTail(row);
}

void AddDefaultCommands(CCmdInfoList& list)
{
  list.AddCmd("RESET", "Reset", 2);
  list.AddCmd("DEFAULT", "Default Configuration", 2);
  list.AddCmd("UPDATE", "Firmware Update", 2);
  list.AddCmd("CONFIRM", "Confirm Changes", 2);
  list.AddCmd("QID", "ID Number", 0);
  list.AddCmd("CID", "ID Number", 0);
  list.AddCmd("QO", "Origin Offset in 1/100 degrees", 0);
  list.AddCmd("CO", "Origin Offset in 1/100 degrees", 0);
  list.AddCmd("AR", "Angular Range in 1/100 degrees", 0);
  list.AddCmd("QAR", "Angular Range in 1/100 degrees", 0);
  list.AddCmd("CAR", "Angular Range in 1/100 degrees", 0);
  list.AddCmd("AA", "Angular Acceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("QAA", "Angular Acceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("CAA", "Angular Acceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("G", "Gyre Direction(CW=1, CCW=-1)", 0);
  list.AddCmd("QG", "Gyre Direction(CW=1, CCW=-1)", 0);
  list.AddCmd("CG", "Gyre Direction(CW=1, CCW=-1)", 0);
  list.AddCmd("QFD", "First Position in 1/100 degrees", 1);
  list.AddCmd("CFD", "First Position in 1/100 degrees", 1);
  list.AddCmd("SD", "Maximum (angular) speed in 1/100 degrees/s", 0);
  list.AddCmd("QSD", "Maximum (angular) speed in 1/100 degrees/s", 0);
  list.AddCmd("CSD", "Maximum (angular) speed in 1/100 degrees/s", 0);
  list.AddCmd("SR", "Maximum (angular) speed in 1/100 RPM", 0);
  list.AddCmd("QSR", "Maximum (angular) speed in 1/100 RPM", 0);
  list.AddCmd("CSR", "Maximum (angular) speed in 1/100 RPM", 0);
  list.AddCmd("AD", "Angular Deceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("QAD", "Angular Deceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("CAD", "Angular Deceleration in 1/100 degrees/s^2", 0);
  list.AddCmd("D", "Position in 1/100 degrees", 0);
  list.AddCmd("QD", "Position in 1/100 degrees", 0);
  list.AddCmd("QDT", "Target Position in 1/100 degrees", 0);
  list.AddCmd("MD", "Relative Move in 1/100 degrees/s", 0);
  list.AddCmd("WD", "Wheel Mode in 1/100 degrees/s", 0);
  list.AddCmd("QWD", "Wheel Mode in 1/100 degrees/s", 0);
  list.AddCmd("WR", "Wheel Mode in 1/100 RPM", 0);
  list.AddCmd("QWR", "Wheel Mode in 1/100 RPM", 0);
  list.AddCmd("Q", "Motion Status", 0);
  list.AddCmd("L", "Limp", 0);
  list.AddCmd("H", "Halt & Hold", 0);
  list.AddCmd("QT", "PCB Temperature", 0);
  list.AddCmd("QC", "Current", 0);
  list.AddCmd("QMS", "Model String", 0);
  list.AddCmd("QF", "Firmware Version", 0);
  list.AddCmd("QN", "Serial Number", 0);
  list.AddCmd("QTP", "Motor Probe Temperature", 0);
  list.AddCmd("QTM", "MCU Temperature", 0);
  list.AddCmd("QTCW", "Motor Controller Temperature Status/OverTemperature pre-warning", 0);
  list.AddCmd("QTCE", "Motor Controller Temperature Status/OverTemperature Error", 0);
  list.AddCmd("QIX", "IMU Linear Accel X", 0);
  list.AddCmd("QIY", "IMU Linear Accel Y", 0);
  list.AddCmd("QIZ", "IMU Linear Accel Z", 0);
  list.AddCmd("QIA", "IMU Angular Accel Alpha", 0);
  list.AddCmd("QIB", "IMU Angular Accel Beta", 0);
  list.AddCmd("QIG", "IMU Angular Accel Gamma", 0);
  list.AddCmd("LED", "LED Color", 0);
  list.AddCmd("QLED", "LED Color", 0);
  list.AddCmd("CLED", "LED Color", 0);
  list.AddCmd("QLB", "Configure LED Blinking", 0);
  list.AddCmd("CLB", "Configure LED Blinking", 0);
  list.AddCmd("QET", "Enable CAN Terminal resistor", 0);
  list.AddCmd("CET", "Enable CAN Terminal resistor", 0);
  list.AddCmd("QUC", "USB Connection", 0);
  list.AddCmd("QCS", "Current Speed in 1/100 degrees/s", 0);
  list.AddCmd("QEF", "Error Flag", 0);
  list.AddCmd("QLI", "LED Indicator", 0);
  list.AddCmd("QRF", "Waiting Reset Flags", 2);
  list.AddCmd("QWC", "Waiting Confirm", 2);
  list.AddCmd("QSS", "Configured maximum (angular) speed in 1/100 degrees/s", 0);
  list.AddCmd("QFR", "Firmware Release version", 2);
  list.AddCmd("QFB", "Firmware Board version", 2);
  list.AddCmd("QFV", "Firmware Revision version", 2);
  list.AddCmd("QFA", "Firmware All version", 2);
  list.AddCmd("QMT", "Motion Time", 0);
  list.AddCmd("MSSN", "Enter the mode to write the serial number in the bootloader(old version method)", 2);
  list.AddCmd("CNVM", "Clear NVM(EEPROM)", 2);
  list.AddCmd("INFOLOG", "Enable/Disable log output such as state/parameter", 2);
  list.AddCmd("PCBTT", "Set PCB Temp thresold", 2);
  list.AddCmd("MCUTT", "Set MCU Temp thresold", 2);
  list.AddCmd("PRBTT", "Set Probe Temp thresold", 2);
  list.AddCmd("TEMPUR", "Set Temp update rate", 2);
  list.AddCmd("IMUUR", "Set IMU update rate", 2);
  list.AddCmd("VRATIO", "Set speed ratio(V1 = Vmax * VRATIO)", 2);
  list.AddCmd("ARATIO", "Set accel ratio(Amax = A1 * ARATIO)", 2);
  list.AddCmd("DRATIO", "Set decel ratio(Dmax = D1 * DRATIO)", 2);
  list.AddCmd("VLIMIT", "Set the configurable speed upper limit value", 2);
  list.AddCmd("ALIMIT", "Set the configurable accel upper limit value", 2);
  list.AddCmd("DLIMIT", "Set the configurable decel upper limit value", 2);
  list.AddCmd("CMSSN", "Clear model string/serial number", 2);
  list.AddCmd("QBLV", "Query Bootloader Version", 2);
  list.AddCmd("RSENSE", "Set Rsense value for current setting calculation", 2);
  list.AddCmd("SCE", "Enable/Disable software stall check ", 2);
  list.AddCmd("APAE", "Enable/Disable software auto position adjust ", 2);
  list.AddCmd("QRT", "Query motion remaining time", 2);
  list.AddCmd("QMI", "Query Model Id", 2);
  list.AddCmd("QBI", "Query Board Id", 2);
  list.AddCmd("QST", "Query Step value", 2);
  list.AddCmd("QECF", "Query Encoder Calibration in Flash", 2);
  list.AddCmd("CECF", "Configure Encoder Calibration in Flash", 2);
  list.AddCmd("QEC", "Query Encoder Calibration value", 2);
  list.AddCmd("CALIBRATE", "Write Calibration value", 2);
  list.AddCmd("EPA", "Set Encoder Prediction Autocalibration(0:off/on  1:off/off  2:on/off  3:on/on)", 2);
  list.AddCmd("CMI", "Configure Model Id", 3);
  list.AddCmd("CNL", "Configure Serial Number Low(HHMMSSXX)", 3);
  list.AddCmd("CNH", "Configure Serial Number High(2YYYMMDD)", 3);
  list.AddCmd("ECE", "Enable/Disable encoder calibration", 1);
  list.AddCmd("CCMI", "Configure Clear Model Information", 1);
}

ECommandCombo CommandComboOf(const CString& mnemonic)
{
  switch (mnemonic.GetAt(0)) {
  case L'Q':
    return ECommandCombo::Query;
  case L'C':
    return ECommandCombo::Configuration;
  default:
    return ECommandCombo::Action;
  }
}

CString LevelMark(int level)
{
  switch (level) {
  case 1:
    return L"(B) ";
  case 2:
    return L"(A) ";
  default:
    return CString();
  }
}

CString CommandComboText(const SCmdInfo& row)
{
  CString text = row.mnemonic;
  const int padding = kMnemonicColumnWidth - row.mnemonic.GetLength();
  if (padding > 0)
    text += CString(L' ', padding);
  text += LevelMark(row.level);
  text += row.description;
  return text;
}

SCommandComboTexts CommandComboTexts(const CCmdInfoList& list)
{
  SCommandComboTexts texts;
  ForEachListedRow(list, [&](const SCmdInfo& row) {
    switch (CommandComboOf(row.mnemonic)) {
    case ECommandCombo::Query:
      texts.query.push_back(CommandComboText(row));
      break;
    case ECommandCombo::Action:
      texts.action.push_back(CommandComboText(row));
      break;
    case ECommandCombo::Configuration:
      texts.configuration.push_back(CommandComboText(row));
      break;
    }
  });
  return texts;
}

std::vector<CString> ActionEditorMnemonics(const CCmdInfoList& list)
{
  return EditorMnemonics(list, false);
}

std::vector<CString> TraceEditorMnemonics(const CCmdInfoList& list)
{
  return EditorMnemonics(list, true);
}
