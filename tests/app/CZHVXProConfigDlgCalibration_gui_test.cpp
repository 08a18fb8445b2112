// The encoder calibration and its verification end to end against a simulated servo whose
// encoder reads off by a known curve; the servo's time runs on a clock that each sweep tick and
// each of the program's waits step forward, so the seven minutes of sweeps take seconds.
#include "MainDialogFixture.h"

#include "CLocale.h"
#include "CalibrationFiles.h"
#include "NativePath.h"
#include "SimulatedEncoder.h"
#include "StatusReadouts.h"
#include "TestFiles.h"

#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/timer.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Calibration : public MainDialogTest {
protected:
  // The servo's time runs at clockScale times real time, plus every wait of the program's.
  explicit Calibration(double clockScale = 0.0) : clock(clockScale)
  {
    chain.SetClock([this] { return clock.Now(); });
    SetSleeper([this](DWORD ms) {
      sleeps.push_back(ms);
      chain.Settle();
      clock.Advance(std::chrono::milliseconds(ms));
    });
    chain.AddServos(1, 1);
    chain.UpdateServo(1, [this](SSimulatedServo& s) {
      s.encoder = encoder;
      s.motionStatus = kSimHolding;
    });
  }

  void PressCtrlShift(int key)
  {
    Key(WXK_CONTROL);
    Key(WXK_SHIFT);
    Key(key);
  }
  // Timer 11's ticks until the sweep ends, each this long in the servo's time.
  int RunSweep(std::chrono::milliseconds tick)
  {
    // The line's 20 ms wait for more bytes after a reply would make each sample cost 60 ms; the
    // simulated servo writes each reply at once, so a shorter wait loses nothing.
    dialog->Port().SetTimeouts(1, 20, 100, 0, 0);
    int ticks = 0;
    while (dialog->IsCalibrating() && ticks < 20000) {
      clock.Advance(tick);
      dialog->FireTimer(kCalibrationTimer);
      ++ticks;
    }
    return ticks;
  }
  fs::path ServoFolder(const std::string& serial) const
  {
    return fs::path(NativePath(app->GetDataFolder())) / serial;
  }
  // The error at the middle of the angles a bucket holds: + 0.5 truncated toward zero makes
  // bucket 0 two degrees wide and moves every negative bucket one degree down.
  static double ErrorAt(const CSimulatedEncoder& encoder, int bucket)
  {
    return encoder.Error(bucket == 0 ? -0.5 : bucket <= 180 ? bucket : bucket - 361);
  }
  std::vector<std::string> Sent(const std::string& mnemonicStart) const
  {
    std::vector<std::string> lines;
    for (const std::string& line : Traffic())
      if (line.rfind("#1" + mnemonicStart, 0) == 0)
        lines.push_back(line);
    return lines;
  }

  CSimulatedClock clock;
  std::shared_ptr<CSimulatedEncoder> encoder = std::make_shared<CSimulatedEncoder>();
};

// The error table as the program writes it, with one row's value in place of 0.
std::string ErrorTable(int row = -1, const std::string& value = "0")
{
  std::string table = "ZSpectrumData CSV output\r\nAngle (deg),Error (deg)\r\n";
  for (int i = 0; i < 360; ++i)
    table += std::to_string(i) + "," + (i == row ? value : "0") + "\r\n";
  return table;
}

std::vector<std::string> Lines(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}
} // namespace

TEST_F(Calibration, MeasuresUploadsAndVerifies)
{
  OpenDialog();
  ConnectAndSelect(1);
  answers.Queue(IDOK);  // the warning
  answers.Queue(IDYES); // write the table
  PressCtrlShift('C');
  ASSERT_TRUE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_EQ(Sent("ECE"), (std::vector<std::string>{"#1ECE0"}));
  const int ticks = RunSweep(250ms);
  ASSERT_FALSE(dialog->IsCalibrating()) << ticks << " ticks";
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_EQ(MessageTexts().at(0).substr(0, 48), L"*** THIS OPERATION COULD DAMAGE YOUR SERVO ***  ");
  EXPECT_EQ(MessageTexts().at(1), L"Write the encoder calibration data to the servo?");
  EXPECT_EQ(app->GetProfileString(L"Encoder Calibration", L"Status", L""), L"STARTED");

  // The four files, each as Python's csv module reads it.
  const fs::path folder = ServoFolder(chain.GetServo(1).serialNumber);
  for (const wchar_t* file : kCalibrationFiles) {
    const fs::path path = folder / NativePath(file);
    ASSERT_TRUE(fs::exists(path)) << path;
    const std::string check =
        "python3 -c \"import csv,sys; r=list(csv.reader(open(sys.argv[1],newline=''))); "
        "assert len(r)==362 and r[0]==['ZSpectrumData CSV output'] and r[1][0]=='Angle (deg)'; "
        "assert all(len(x)==2 and [float(v) for v in x] for x in r[2:])\" '" +
        path.string() + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << path;
  }
  EXPECT_EQ(Lines(folder / "Encoder Error.csv").at(1), "Angle (deg),Error (deg)\r");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 4) << "no temporary file is left";

  // The files hold the plotted curves exactly, and the table uploaded is the error curve the
  // servo's encoder has, wherever both sweeps sampled.
  const std::optional<SCalibrationCurveFile> cw =
      ReadCalibrationCurve(Wide(folder / "Encoder CW Error.csv"), kCwErrorLabel);
  const std::optional<SCalibrationCurveFile> ccw =
      ReadCalibrationCurve(Wide(folder / "Encoder CCW Error.csv"), kCcwErrorLabel);
  ASSERT_TRUE(cw && ccw);
  for (const auto& [file, name, label] : {std::tuple{"Encoder CW Error.csv", L"CW", kCwErrorLabel},
                                          {"Encoder CCW Error.csv", L"CCW", kCcwErrorLabel},
                                          {"Encoder Error.csv", L"Error", kEncoderErrorLabel},
                                          {"Gear Lag.csv", L"Lag", kGearLagLabel}}) {
    const std::optional<SCalibrationCurveFile> curve = ReadCalibrationCurve(Wide(folder / file), label);
    CSpectrumData* plotted = dialog->PlotWindow()->FindTrace(name);
    ASSERT_TRUE(curve && plotted) << file;
    for (int i = 0; i < 360; ++i) {
      CString written;
      written.Format(L"%g", plotted->GetY(i));
      EXPECT_EQ(curve->x[size_t(i)], float(i));
      EXPECT_EQ(curve->y[size_t(i)], float(_wtof(written))) << file << " " << i;
    }
  }
  const std::vector<int> uploaded = encoder->CalibrateValues();
  ASSERT_EQ(uploaded.size(), 360u);
  // The smoothing reaches five buckets either side: a bucket only one sweep sampled (around the
  // half turn) halves the error there.
  auto bothSampled = [&](int b) {
    for (int n = std::max(0, b - 5); n <= std::min(359, b + 5); ++n)
      if (cw->y[size_t(n)] == 0.0f || ccw->y[size_t(n)] == 0.0f)
        return false;
    return true;
  };
  int compared = 0;
  for (int b = 0; b < 360; ++b) {
    if (!bothSampled(b))
      continue;
    ++compared;
    EXPECT_LE(std::abs(uploaded[size_t(b)] + 100.0 * ErrorAt(*encoder, b)), 1.0) << "bucket " << b;
    EXPECT_NEAR(ccw->y[size_t(b)] - cw->y[size_t(b)], 2 * encoder->GearLag(), 0.03) << "bucket " << b;
  }
  EXPECT_GE(compared, 340);
  EXPECT_EQ(Sent("CECF"), (std::vector<std::string>{"#1CECF1"}));
  EXPECT_EQ(dialog->PlotWindow()->GetTitle(), L"New Calibration Error Data");
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 4);
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(log.front(), L"- Error measurement start");
  EXPECT_EQ(log.back(), L"- Error measurement end");
  EXPECT_TRUE(std::find(log.begin(), log.end(), L"#1D20000") != log.end());
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 10u), 360);

  // The plot shows the four curves: each colour is found in the picture.
  dialog->PlotWindow()->Refresh();
  PumpEvents(200);
  SaveSnapshot(dialog->PlotWindow(), "calibration_result");
  const wxImage picture = dialog->PlotWindow()->GetPlotBitmap().ConvertToImage();
  for (const wxColour& colour :
       {wxColour(0, 200, 200), wxColour(0, 200, 0), wxColour(200, 0, 0), wxColour(150, 150, 0)}) {
    bool found = false;
    for (int y = 0; y < picture.GetHeight() && !found; ++y)
      for (int x = 0; x < picture.GetWidth() && !found; ++x)
        found = ColourAt(picture, x, y) == colour;
    EXPECT_TRUE(found) << colour.GetAsString().ToStdString();
  }

  // The verification sweeps the corrected servo: what is left is the lag alone, and nothing is
  // written to the servo or the files.
  const auto written = fs::last_write_time(folder / "Encoder Error.csv");
  chain.ClearReceived();
  answers.Queue(IDOK);
  PressCtrlShift('V');
  ASSERT_TRUE(dialog->IsCalibrating());
  RunSweep(500ms);
  EXPECT_TRUE(Sent("ECE").empty());
  EXPECT_TRUE(Sent("CECF").empty());
  EXPECT_TRUE(Sent("CALIBRATE").empty());
  EXPECT_EQ(fs::last_write_time(folder / "Encoder Error.csv"), written);
  EXPECT_EQ(dialog->PlotWindow()->GetTitle(), L"Existing Calibration Result");
  EXPECT_EQ(Log().back(), L"- Cal verification end");
  CSpectrumData* residual = dialog->PlotWindow()->FindTrace(L"Error");
  ASSERT_NE(residual, nullptr);
  for (int b = 10; b < 350; ++b)
    if (b < 170 || b > 190) {
      EXPECT_NEAR(residual->GetY(b), 0.0, 0.02) << "bucket " << b;
    }
  SaveSnapshot(dialog->PlotWindow(), "calibration_verification");
}

TEST_F(Calibration, StoredTableOfferedAndUploadedWithoutMeasuring)
{
  OpenDialog();
  ConnectAndSelect(1);
  const fs::path folder = ServoFolder(chain.GetServo(1).serialNumber);
  fs::create_directories(folder);
  std::string table = "ZSpectrumData CSV output\r\nAngle (deg),Error (deg)\r\n";
  for (int i = 0; i < 360; ++i)
    table += std::to_string(i) + "," + (i == 0 ? "0.123" : i == 1 ? "-0.125" : "0") + "\r\n";
  for (const wchar_t* file : kCalibrationFiles)
    WriteBytes(folder / NativePath(file), table);

  answers.Queue(IDYES); // use the stored data
  answers.Queue(IDYES); // write it
  PressCtrlShift('C');
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_EQ(MessageTexts().at(0),
            L"Encoder error data exists for this servo.  Use this error data for calibration?");
  const std::vector<int> uploaded = encoder->CalibrateValues();
  ASSERT_EQ(uploaded.size(), 360u);
  EXPECT_EQ(uploaded[0], -12);
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 1);

  // Answering No to the write leaves only the flag sent.
  chain.ClearReceived();
  answers.Queue(IDYES);
  answers.Queue(IDNO);
  PressCtrlShift('C');
  chain.WaitForLines(3);
  EXPECT_EQ(Sent("C"), (std::vector<std::string>{"#1CECF1"}));

  // A damaged table is refused with a message and nothing is written; a measurement is offered.
  WriteBytes(folder / "Encoder Error.csv", table.substr(0, table.size() / 2));
  chain.ClearReceived();
  answers.Queue(IDOK);     // the message
  answers.Queue(IDCANCEL); // the warning
  PressCtrlShift('C');
  EXPECT_NE(MessageTexts().at(4).find(L"incomplete or damaged"), std::wstring::npos);
  EXPECT_EQ(MessageTexts().at(5).substr(0, 10), L"*** THIS O");
  for (const std::string& line : Traffic())
    EXPECT_EQ(line, "#1QN") << "only the serial number is asked for";
  EXPECT_EQ(encoder->CalibrateValues().size(), 360u);
}

TEST_F(Calibration, ServoWithoutSerialNumberOrFolderStillGetsItsTable)
{
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.serialNumber = ""; });
  OpenDialog();
  ConnectAndSelect(1);
  // Coarse sweeps are enough here.
  answers.Queue(IDOK);
  answers.Queue(IDOK);  // no serial number
  answers.Queue(IDYES); // write the table
  PressCtrlShift('C');
  RunSweep(2000ms);
  ASSERT_FALSE(dialog->IsCalibrating());
  EXPECT_EQ(MessageTexts().at(1),
            L"The servo did not report a usable serial number, so its calibration files cannot be kept.");
  EXPECT_FALSE(fs::exists(fs::path(NativePath(app->GetDataFolder())) / "Encoder Error.csv"));
  EXPECT_EQ(encoder->CalibrateValues().size(), 360u);

  // A servo folder that cannot be made: each file that could not be written is named.
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.serialNumber = "2026010112000001"; });
  WriteBytes(ServoFolder("2026010112000001"), "in the folder's place");
  answers.Queue(IDOK);
  answers.Queue(IDOK);  // the failed files
  answers.Queue(IDYES); // write the table
  PressCtrlShift('C');
  RunSweep(2000ms);
  const std::wstring failed = MessageTexts().at(4);
  EXPECT_EQ(failed.rfind(L"The calibration results could not be written to:", 0), 0u) << failed;
  for (const wchar_t* file : kCalibrationFiles)
    EXPECT_NE(failed.find(file), std::wstring::npos) << CString(file).Str();
  EXPECT_EQ(encoder->CalibrateValues().size(), 720u);
}

TEST_F(Calibration, NothingWithoutAServoAndAServoThatNeverStopsIsWaitedForOnce)
{
  OpenDialog();
  PressCtrlShift('C');
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));

  ConnectAndSelect(1);
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.motionStatus = kSimTraveling; });
  sleeps.clear();
  EXPECT_TRUE(dialog->WaitForServoState(10000));
  ASSERT_EQ(sleeps.size(), 97u);
  EXPECT_EQ(sleeps.front(), 500u);
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 100u), 96);
}

TEST_F(Calibration, FailedSampleRecordsNothingAndALostServoEndsTheSweep)
{
  OpenDialog();
  ConnectAndSelect(1);
  answers.Queue(IDOK);
  PressCtrlShift('C');
  ASSERT_TRUE(dialog->IsCalibrating());
  ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
  ASSERT_EQ(dialog->StatusReadout()->GetText(), L"Calibrating");
  dialog->Port().SetTimeouts(1, 20, 100, 0, 0);
  auto recorded = [&] {
    const SCalibrationTables& tables = dialog->CalibrationTables();
    return std::accumulate(tables.cwCount.begin(), tables.cwCount.end(), 0);
  };
  dialog->FireTimer(kCalibrationTimer); // "D" 20000
  chain.Settle();                       // the move starts before the clock moves on
  clock.Advance(15s);                   // well inside the half turn
  dialog->FireTimer(kCalibrationTimer);
  ASSERT_EQ(recorded(), 1);
  chain.InjectFault({SSimFault::Garbage, "#1QD", 1, 0, 0, "*1QST7\r"});
  clock.Advance(250ms);
  dialog->FireTimer(kCalibrationTimer);
  EXPECT_EQ(recorded(), 1) << "a failed sample records nothing";
  clock.Advance(250ms);
  dialog->FireTimer(kCalibrationTimer);
  EXPECT_EQ(recorded(), 2);

  // The servo goes silent: each sample gives up after the port's wait, and two seconds of them
  // end the sweep with what the end of a sweep sends, and nothing kept or uploaded.
  chain.InjectFault({SSimFault::Silence, "", -1});
  chain.ClearReceived();
  answers.Queue(IDOK);
  int ticks = 0;
  while (dialog->IsCalibrating() && ticks < 20) {
    dialog->FireTimer(kCalibrationTimer);
    ++ticks;
  }
  EXPECT_FALSE(dialog->IsCalibrating());
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_GE(ticks, 4);
  EXPECT_LE(ticks, 6);
  EXPECT_EQ(MessageTexts().back(), L"The servo stopped answering; the calibration was ended.");
  const std::vector<std::string> traffic = TrafficWith("#1D0");
  ASSERT_GE(traffic.size(), 2u);
  EXPECT_EQ(std::vector(traffic.end() - 2, traffic.end()), (std::vector<std::string>{"#1SD5000", "#1D0"}));
  EXPECT_TRUE(Sent("CECF").empty());
  EXPECT_FALSE(fs::exists(ServoFolder(chain.GetServo(1).serialNumber)));
  EXPECT_FALSE(Get<wxGauge>(IDC_PROGRESS)->IsShown());
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"") << "no sweep claimed; the poll fills it";
  EXPECT_EQ(Log().back(), L"- Error measurement ended: the servo stopped answering");
  // The window is itself again: Ctrl+Shift+C starts anew.
  answers.Queue(IDCANCEL);
  PressCtrlShift('C');
  EXPECT_EQ(MessageTexts().back().substr(0, 10), L"*** THIS O");
}

TEST_F(Calibration, DisconnectEndsTheSweepStoppingTheServoFirst)
{
  OpenDialog();
  ConnectAndSelect(1);
  // The plot becomes the calibration's: a trace running before ends with it.
  ASSERT_TRUE(Click(IDC_TRACE1));
  ASSERT_TRUE(dialog->FireTimer(1));
  ASSERT_NE(Text(IDC_TRACE1_VALUE), L"");
  answers.Queue(IDOK);
  PressCtrlShift('C');
  ASSERT_TRUE(dialog->IsCalibrating());
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE1)->GetValue());
  EXPECT_FALSE(dialog->IsTimerRunning(1));
  EXPECT_EQ(Text(IDC_TRACE1_VALUE), L"");
  ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
  dialog->FireTimer(kCalibrationTimer); // "D" 20000
  // The move gets no reply: let it arrive before the traffic is cleared.
  ASSERT_TRUE(Has(TrafficWith("#1D20000"), "#1D20000"));
  chain.ClearReceived();
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_FALSE(dialog->IsCalibrating());
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_FALSE(Get<wxGauge>(IDC_PROGRESS)->IsShown());
  EXPECT_EQ(TrafficWith("#1D0"), (std::vector<std::string>{"#1SD5000", "#1D0"}));
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Disconnected");
  const std::vector<std::wstring> log = Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector(log.end() - 3, log.end()),
            (std::vector<std::wstring>{L"#1SD5000", L"#1D0", L"- Error measurement ended: disconnected"}));
}

TEST_F(Calibration, PreparationThatLosesTheServoSaysHowItEnded)
{
  SSimulatedServo second;
  second.id = 2;
  chain.AddServo(second);
  // Servo 2 does not come back from its reset.
  std::atomic<bool> gone = false;
  chain.SetLineHandler([&](const std::string& line) -> std::optional<std::string> {
    if (line == "#2RESET")
      gone = true;
    if (!gone)
      return std::nullopt;
    if (line == "#254QID")
      return std::string("*1QID1\r");
    return line.rfind("#2", 0) == 0 ? std::optional<std::string>("") : std::nullopt;
  });
  OpenDialog();
  ConnectAndSelect(2);
  answers.Queue(IDOK);
  PressCtrlShift('V');
  EXPECT_FALSE(dialog->IsCalibrating());
  EXPECT_FALSE(dialog->IsTimerRunning(kCalibrationTimer));
  EXPECT_FALSE(Get<wxGauge>(IDC_PROGRESS)->IsShown());
  const std::vector<std::wstring> log = Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(std::vector(log.end() - 2, log.end()),
            (std::vector<std::wstring>{
                L"Servo 2 stopped answering and is no longer selected",
                L"- Cal verification ended: the servo was not found again after its reset"}));
  EXPECT_EQ(dialog->CurrentId(), -1);
  chain.SetLineHandler({});
}

TEST_F(Calibration, EachCalibrationCountsItsOwnFailedSamples)
{
  OpenDialog();
  ConnectAndSelect(1);
  DWORD now = 0;
  SetTickCountSource([&] { return now; });
  struct SRealClock {
    ~SRealClock() { SetTickCountSource({}); }
  } restore;
  // Starts a calibration and takes its first sample, which fails at the given time.
  auto startWithFailedSample = [&](DWORD at) {
    answers.Queue(IDOK);
    PressCtrlShift('C');
    ASSERT_TRUE(dialog->IsCalibrating());
    dialog->Port().SetTimeouts(1, 20, 100, 0, 0);
    dialog->FireTimer(kCalibrationTimer); // "D" 20000
    chain.InjectFault({SSimFault::Garbage, "#1QD", 1, 0, 0, "*1QST7\r"});
    now = at;
    dialog->FireTimer(kCalibrationTimer);
  };
  startWithFailedSample(0);
  chain.InjectFault({SSimFault::Garbage, "#1QD", 1, 0, 0, "*1QST7\r"});
  now = 2000;
  answers.Queue(IDOK);
  dialog->FireTimer(kCalibrationTimer);
  ASSERT_FALSE(dialog->IsCalibrating()) << "two seconds of failed samples";
  ASSERT_EQ(MessageTexts().back(), L"The servo stopped answering; the calibration was ended.");

  // The next calibration's first failure is the first of its own, not the third of a run.
  startWithFailedSample(2100);
  EXPECT_TRUE(dialog->IsCalibrating());
}

TEST_F(Calibration, TablesBeyondWhatTheUploadCarriesAreNotSent)
{
  OpenDialog();
  ConnectAndSelect(1);
  const fs::path folder = ServoFolder(chain.GetServo(1).serialNumber);
  fs::create_directories(folder);
  for (const wchar_t* file : kCalibrationFiles)
    WriteBytes(folder / NativePath(file), ErrorTable());

  // A stored value the upload would hold at its limit: refused like a damaged file.
  for (const char* value : {"500", "1e30"}) {
    WriteBytes(folder / "Encoder Error.csv", ErrorTable(7, value));
    chain.ClearReceived();
    answers.Queue(IDOK);     // the message
    answers.Queue(IDCANCEL); // the warning
    PressCtrlShift('C');
    const std::vector<std::wstring> texts = MessageTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_NE(texts[texts.size() - 2].find(L"incomplete or damaged"), std::wstring::npos) << value;
    for (const std::string& line : Traffic())
      EXPECT_EQ(line, "#1QN") << value;
  }

  // A serial number whose reply came cut short names no folder: the good table there is not
  // offered to the servo it may not belong to.
  WriteBytes(folder / "Encoder Error.csv", ErrorTable());
  chain.InjectFault({SSimFault::NoCarriageReturn, "#1QN"});
  answers.Queue(IDCANCEL);
  PressCtrlShift('C');
  EXPECT_EQ(MessageTexts().back().substr(0, 10), L"*** THIS O");

  // This run's own table: values beyond the upload are reported, and nothing is sent.
  chain.ClearReceived();
  answers.Queue(IDOK);
  std::vector<float> table(360, 0.25f);
  table[3] = 400.0f;
  table[4] = -1e30f;
  dialog->WriteCalibrationToServo(table);
  EXPECT_EQ(MessageTexts().back(), L"2 of the 360 encoder error values are beyond what the servo can take "
                                   L"(327.67 degrees either way); nothing was written to the servo.");
  EXPECT_TRUE(Traffic().empty());
}

namespace {
using SteadyClock = std::chrono::steady_clock;

// Records when a window paints, ahead of its own paint handler.
void RecordPaints(wxWindow* window, std::vector<SteadyClock::time_point>& paints)
{
  window->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    paints.push_back(SteadyClock::now());
    event.Skip();
  });
}

double LongestGapMs(const std::vector<SteadyClock::time_point>& paints, SteadyClock::time_point start,
                    SteadyClock::time_point end)
{
  SteadyClock::time_point last = start;
  SteadyClock::duration longest{};
  for (const SteadyClock::time_point paint : paints) {
    longest = std::max(longest, paint - last);
    last = paint;
  }
  longest = std::max(longest, end - last);
  return std::chrono::duration<double, std::milli>(longest).count();
}

class CalibrationAtRealSpeed : public Calibration {
protected:
  CalibrationAtRealSpeed() : Calibration(1.0) {}
};
} // namespace

// A few seconds of the sweep at the servo's own speed and the port's own 20 ms read pacing, on
// the real timer 11 and the real event loop: a sample takes longer than the timer's period, and
// the window paints all the same.
TEST_F(CalibrationAtRealSpeed, WindowKeepsPaintingWhileTheSweepRuns)
{
  if (AllocationsUnwoundInFull())
    GTEST_SKIP() << "the leak check's unwinding slows every allocation: real speed cannot be measured";
  OpenDialog();
  ConnectAndSelect(1);
  answers.Queue(IDOK);
  PressCtrlShift('C');
  ASSERT_TRUE(dialog->IsTimerRunning(kCalibrationTimer));
  chain.ClearReceived();

  std::vector<SteadyClock::time_point> plotPaints, readoutPaints;
  RecordPaints(dialog->PlotWindow(), plotPaints);
  RecordPaints(dialog->StatusReadout(), readoutPaints);
  wxGUIEventLoop loop;
  const SteadyClock::time_point start = SteadyClock::now();
  // The plot is uncovered again and again, as when another window moves over it.
  wxTimer expose;
  expose.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    dialog->PlotWindow()->Refresh();
    if (SteadyClock::now() - start >= 3s)
      loop.Exit();
  });
  expose.Start(40);
  loop.Run();
  expose.Stop();
  const SteadyClock::time_point end = SteadyClock::now();

  const std::vector<std::string> traffic = Traffic();
  const auto samples = std::count(traffic.begin(), traffic.end(), "#1QD");
  EXPECT_GE(samples, 20) << "about 60 ms a sample";
  EXPECT_TRUE(dialog->IsCalibrating());
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Calibrating");
  const double plotGap = LongestGapMs(plotPaints, start, end);
  // The read-out scrolls once the poll has put "Calibrating" in it.
  ASSERT_FALSE(readoutPaints.empty());
  const double readoutGap = LongestGapMs(readoutPaints, readoutPaints.front(), end);
  RecordProperty("longest_plot_paint_gap_ms", int(plotGap));
  RecordProperty("longest_readout_paint_gap_ms", int(readoutGap));
  std::printf(
      "%d samples; longest gap between paints: plot %.0f ms (%zu paints), read-out %.0f ms (%zu paints)\n",
      int(samples), plotGap, plotPaints.size(), readoutGap, readoutPaints.size());
  // A paint waits for the sample under way at most; the read-out's scroll step also waits its
  // turn among the due ticks. Generous for a loaded machine.
  EXPECT_LT(plotGap, 400.0);
  EXPECT_LT(readoutGap, 600.0);
}
