#include "CCmdInfoList.h"
#include "CommandLines.h"

#include <gtest/gtest.h>

#include <set>

namespace {
struct SExpectedRow {
  const char* mnemonic;
  int level;
  const char* description;
};

std::vector<SCmdInfo> RowsOf(const CCmdInfoList& list)
{
  std::vector<SCmdInfo> rows;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    rows.push_back(list.GetNext(pos));
  return rows;
}

CCmdInfoList DefaultTable()
{
  CCmdInfoList list;
  AddDefaultCommands(list);
  return list;
}
} // namespace

TEST(CCmdInfoList, HoldsTheServoCatalogueInItsFixedOrder)
{
  static const SExpectedRow expected[] = {
      {"RESET", 2, "Reset"},
      {"DEFAULT", 2, "Default Configuration"},
      {"UPDATE", 2, "Firmware Update"},
      {"CONFIRM", 2, "Confirm Changes"},
      {"QID", 0, "ID Number"},
      {"CID", 0, "ID Number"},
      {"QO", 0, "Origin Offset in 1/100 degrees"},
      {"CO", 0, "Origin Offset in 1/100 degrees"},
      {"AR", 0, "Angular Range in 1/100 degrees"},
      {"QAR", 0, "Angular Range in 1/100 degrees"},
      {"CAR", 0, "Angular Range in 1/100 degrees"},
      {"AA", 0, "Angular Acceleration in 1/100 degrees/s^2"},
      {"QAA", 0, "Angular Acceleration in 1/100 degrees/s^2"},
      {"CAA", 0, "Angular Acceleration in 1/100 degrees/s^2"},
      {"G", 0, "Gyre Direction(CW=1, CCW=-1)"},
      {"QG", 0, "Gyre Direction(CW=1, CCW=-1)"},
      {"CG", 0, "Gyre Direction(CW=1, CCW=-1)"},
      {"QFD", 1, "First Position in 1/100 degrees"},
      {"CFD", 1, "First Position in 1/100 degrees"},
      {"SD", 0, "Maximum (angular) speed in 1/100 degrees/s"},
      {"QSD", 0, "Maximum (angular) speed in 1/100 degrees/s"},
      {"CSD", 0, "Maximum (angular) speed in 1/100 degrees/s"},
      {"SR", 0, "Maximum (angular) speed in 1/100 RPM"},
      {"QSR", 0, "Maximum (angular) speed in 1/100 RPM"},
      {"CSR", 0, "Maximum (angular) speed in 1/100 RPM"},
      {"AD", 0, "Angular Deceleration in 1/100 degrees/s^2"},
      {"QAD", 0, "Angular Deceleration in 1/100 degrees/s^2"},
      {"CAD", 0, "Angular Deceleration in 1/100 degrees/s^2"},
      {"D", 0, "Position in 1/100 degrees"},
      {"QD", 0, "Position in 1/100 degrees"},
      {"QDT", 0, "Target Position in 1/100 degrees"},
      {"MD", 0, "Relative Move in 1/100 degrees/s"},
      {"WD", 0, "Wheel Mode in 1/100 degrees/s"},
      {"QWD", 0, "Wheel Mode in 1/100 degrees/s"},
      {"WR", 0, "Wheel Mode in 1/100 RPM"},
      {"QWR", 0, "Wheel Mode in 1/100 RPM"},
      {"Q", 0, "Motion Status"},
      {"L", 0, "Limp"},
      {"H", 0, "Halt & Hold"},
      {"QT", 0, "PCB Temperature"},
      {"QC", 0, "Current"},
      {"QMS", 0, "Model String"},
      {"QF", 0, "Firmware Version"},
      {"QN", 0, "Serial Number"},
      {"QTP", 0, "Motor Probe Temperature"},
      {"QTM", 0, "MCU Temperature"},
      {"QTCW", 0, "Motor Controller Temperature Status/OverTemperature pre-warning"},
      {"QTCE", 0, "Motor Controller Temperature Status/OverTemperature Error"},
      {"QIX", 0, "IMU Linear Accel X"},
      {"QIY", 0, "IMU Linear Accel Y"},
      {"QIZ", 0, "IMU Linear Accel Z"},
      {"QIA", 0, "IMU Angular Accel Alpha"},
      {"QIB", 0, "IMU Angular Accel Beta"},
      {"QIG", 0, "IMU Angular Accel Gamma"},
      {"LED", 0, "LED Color"},
      {"QLED", 0, "LED Color"},
      {"CLED", 0, "LED Color"},
      {"QLB", 0, "Configure LED Blinking"},
      {"CLB", 0, "Configure LED Blinking"},
      {"QET", 0, "Enable CAN Terminal resistor"},
      {"CET", 0, "Enable CAN Terminal resistor"},
      {"QUC", 0, "USB Connection"},
      {"QCS", 0, "Current Speed in 1/100 degrees/s"},
      {"QEF", 0, "Error Flag"},
      {"QLI", 0, "LED Indicator"},
      {"QRF", 2, "Waiting Reset Flags"},
      {"QWC", 2, "Waiting Confirm"},
      {"QSS", 0, "Configured maximum (angular) speed in 1/100 degrees/s"},
      {"QFR", 2, "Firmware Release version"},
      {"QFB", 2, "Firmware Board version"},
      {"QFV", 2, "Firmware Revision version"},
      {"QFA", 2, "Firmware All version"},
      {"QMT", 0, "Motion Time"},
      {"MSSN", 2, "Enter the mode to write the serial number in the bootloader(old version method)"},
      {"CNVM", 2, "Clear NVM(EEPROM)"},
      {"INFOLOG", 2, "Enable/Disable log output such as state/parameter"},
      {"PCBTT", 2, "Set PCB Temp thresold"},
      {"MCUTT", 2, "Set MCU Temp thresold"},
      {"PRBTT", 2, "Set Probe Temp thresold"},
      {"TEMPUR", 2, "Set Temp update rate"},
      {"IMUUR", 2, "Set IMU update rate"},
      {"VRATIO", 2, "Set speed ratio(V1 = Vmax * VRATIO)"},
      {"ARATIO", 2, "Set accel ratio(Amax = A1 * ARATIO)"},
      {"DRATIO", 2, "Set decel ratio(Dmax = D1 * DRATIO)"},
      {"VLIMIT", 2, "Set the configurable speed upper limit value"},
      {"ALIMIT", 2, "Set the configurable accel upper limit value"},
      {"DLIMIT", 2, "Set the configurable decel upper limit value"},
      {"CMSSN", 2, "Clear model string/serial number"},
      {"QBLV", 2, "Query Bootloader Version"},
      {"RSENSE", 2, "Set Rsense value for current setting calculation"},
      {"SCE", 2, "Enable/Disable software stall check "},
      {"APAE", 2, "Enable/Disable software auto position adjust "},
      {"QRT", 2, "Query motion remaining time"},
      {"QMI", 2, "Query Model Id"},
      {"QBI", 2, "Query Board Id"},
      {"QST", 2, "Query Step value"},
      {"QECF", 2, "Query Encoder Calibration in Flash"},
      {"CECF", 2, "Configure Encoder Calibration in Flash"},
      {"QEC", 2, "Query Encoder Calibration value"},
      {"CALIBRATE", 2, "Write Calibration value"},
      {"EPA", 2, "Set Encoder Prediction Autocalibration(0:off/on  1:off/off  2:on/off  3:on/on)"},
      {"CMI", 3, "Configure Model Id"},
      {"CNL", 3, "Configure Serial Number Low(HHMMSSXX)"},
      {"CNH", 3, "Configure Serial Number High(2YYYMMDD)"},
      {"ECE", 1, "Enable/Disable encoder calibration"},
      {"CCMI", 1, "Configure Clear Model Information"},
  };
  const std::vector<SCmdInfo> rows = RowsOf(DefaultTable());
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t n = 0; n < rows.size(); ++n) {
    EXPECT_EQ(rows[n].mnemonic, CString(expected[n].mnemonic)) << "row " << n + 1;
    EXPECT_EQ(rows[n].level, expected[n].level) << "row " << n + 1;
    EXPECT_EQ(rows[n].description, CString(expected[n].description)) << "row " << n + 1;
  }

  // The editors look a description up by mnemonic and take the first match: every mnemonic must
  // occur once.
  std::set<std::wstring> mnemonics;
  for (const SCmdInfo& row : rows)
    EXPECT_TRUE(mnemonics.insert(row.mnemonic.GetString()).second) << CStringA(row.mnemonic).GetString();
}

TEST(CCmdInfoList, SpreadsRowsOverTheThreeCombosByFirstLetter)
{
  const SCommandComboTexts texts = CommandComboTexts(DefaultTable());
  EXPECT_EQ(texts.query.size(), 51u);
  EXPECT_EQ(texts.configuration.size(), 21u);
  EXPECT_EQ(texts.action.size(), 34u);

  auto holds = [](const std::vector<CString>& combo, const wchar_t* text) {
    return std::find(combo.begin(), combo.end(), CString(text)) != combo.end();
  };
  EXPECT_TRUE(holds(texts.query, L"QD              Position in 1/100 degrees"));
  EXPECT_TRUE(holds(texts.configuration, L"CONFIRM         (A) Confirm Changes"));
  EXPECT_TRUE(holds(texts.configuration, L"CALIBRATE       (A) Write Calibration value"));
  EXPECT_TRUE(holds(texts.configuration, L"CFD             (B) First Position in 1/100 degrees"));
  EXPECT_TRUE(holds(texts.configuration, L"CCMI            (B) Configure Clear Model Information"));
  EXPECT_TRUE(holds(texts.configuration, L"CMI             Configure Model Id"));
  EXPECT_TRUE(holds(texts.configuration, L"CNL             Configure Serial Number Low(HHMMSSXX)"));
  EXPECT_TRUE(holds(texts.configuration, L"CNH             Configure Serial Number High(2YYYMMDD)"));
  EXPECT_TRUE(holds(texts.action, L"RESET           (A) Reset"));
  EXPECT_TRUE(holds(texts.action, L"ECE             (B) Enable/Disable encoder calibration"));
  EXPECT_TRUE(holds(texts.action, L"H               Halt & Hold"));
  EXPECT_TRUE(holds(texts.action, L"SCE             (A) Enable/Disable software stall check "));
  EXPECT_TRUE(holds(texts.action, L"PCBTT           (A) Set PCB Temp thresold"));
  EXPECT_TRUE(holds(texts.query, L"QFD             (B) First Position in 1/100 degrees"));

  // The panels take the mnemonic back from the start of the text.
  for (const SCmdInfo& row : RowsOf(DefaultTable())) {
    const CString text = CommandComboText(row);
    EXPECT_EQ(FirstTokenOf(text), row.mnemonic);
    if (row.mnemonic.GetLength() <= 4) {
      EXPECT_EQ(MnemonicFromComboText(text), row.mnemonic);
    }
  }
}

TEST(CCmdInfoList, LevelMarksAndPaddingOfLongMnemonics)
{
  EXPECT_EQ(LevelMark(0), L"");
  EXPECT_EQ(LevelMark(1), L"(B) ");
  EXPECT_EQ(LevelMark(2), L"(A) ");
  EXPECT_EQ(LevelMark(3), L"");

  EXPECT_EQ(CommandComboText({L"ABCDEFGHIJKLMNOP", L"Sixteen", 2}), L"ABCDEFGHIJKLMNOP(A) Sixteen");
  EXPECT_EQ(CommandComboText({L"ABCDEFGHIJKLMNOPQ", L"Seventeen", 0}), L"ABCDEFGHIJKLMNOPQSeventeen");
  EXPECT_EQ(CommandComboText({L"ABCDEFGHIJKLMNO", L"Fifteen", 1}), L"ABCDEFGHIJKLMNO (B) Fifteen");
}

TEST(CCmdInfoList, ReadersStopAtTheFirstRowWithoutMnemonic)
{
  CCmdInfoList list;
  list.AddCmd("QD", "Position", 0);
  list.AddCmd("D", "Position", 0);
  list.AddCmd("QD", "Position again", 0);
  list.AddCmd("", "Gap", 0);
  list.AddCmd("QT", "After the gap", 0);
  list.AddCmd("CID", "After the gap", 0);

  const SCommandComboTexts texts = CommandComboTexts(list);
  EXPECT_EQ(texts.query.size(), 2u);
  EXPECT_EQ(texts.action.size(), 1u);
  EXPECT_TRUE(texts.configuration.empty());

  EXPECT_EQ(TraceEditorMnemonics(list), std::vector<CString>{L"QD"});
  EXPECT_EQ(ActionEditorMnemonics(list), std::vector<CString>{L"D"});
}

TEST(CCmdInfoList, EditorsOfferEachMnemonicOnce)
{
  const CCmdInfoList table = DefaultTable();
  const std::vector<CString> actions = ActionEditorMnemonics(table);
  const std::vector<CString> queries = TraceEditorMnemonics(table);
  EXPECT_EQ(actions.size(), 55u);
  EXPECT_EQ(queries.size(), 51u);
  EXPECT_EQ(actions.front(), L"RESET");
  EXPECT_EQ(actions.back(), L"CCMI");
  EXPECT_EQ(queries.front(), L"QID");
  EXPECT_EQ(queries.back(), L"QEC");
}
