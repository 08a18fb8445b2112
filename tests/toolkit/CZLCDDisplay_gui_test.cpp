#include "CZLCDDisplay.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

#include <initializer_list>
#include <set>

namespace {
constexpr UINT kDotMatrixFont = 159;

// The read-outs draw in a red lit colour by default; unlit segments are the same hue at an eighth
// of its lightness, and the glare whitens both a little. A lit pixel stays clearly red.
bool IsLit(const wxImage& image, wxPoint p)
{
  const int r = image.GetRed(p.x, p.y), g = image.GetGreen(p.x, p.y), b = image.GetBlue(p.x, p.y);
  return r - std::max(g, b) > 60;
}

int LitPixels(const wxImage& image)
{
  int count = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      count += IsLit(image, wxPoint(x, y)) ? 1 : 0;
  return count;
}

struct LcdFrame {
  explicit LcdFrame(int width = 240, int height = 80)
  {
    frame = new wxFrame(nullptr, wxID_ANY, "lcd", wxPoint(40, 40), wxSize(width + 40, height + 40));
    lcd = new CZLCDDisplay();
    auto* panel = new wxPanel(frame);
    lcd->Create(L"", 0, RECT{10, 10, 10 + width, 10 + height}, panel, 1001);
    frame->Show();
    PumpEvents(60);
  }
  ~LcdFrame()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxImage Paint() { return lcd->PaintToBitmap().ConvertToImage(); }
  // The segment (table column) of a cell that is lit, among the columns asked for.
  std::set<int> LitColumns(const wxImage& image, int cell, int columns)
  {
    std::set<int> lit;
    for (int c = 0; c < columns; ++c) {
      // The point and colon of the last cell sit on the read-out's right edge.
      const wxPoint p = lcd->GetSegmentCentre(cell, c);
      if (p.x < image.GetWidth() && p.y < image.GetHeight() && IsLit(image, p))
        lit.insert(c);
    }
    return lit;
  }
  wxFrame* frame;
  CZLCDDisplay* lcd;
};

std::set<int> Set(std::initializer_list<int> columns)
{
  return std::set<int>(columns);
}

// A font bitmap of 8 x 32 glyphs, each glyph `w` x `h` with a grid line right of and below it,
// every glyph a solid block.
wxImage BlockFont(int w, int h)
{
  wxImage image((w + 1) * 32, (h + 1) * 8);
  image.SetRGB(wxRect(0, 0, image.GetWidth(), image.GetHeight()), 255, 255, 255);
  for (int x = w; x < image.GetWidth(); x += w + 1)
    image.SetRGB(wxRect(x, 0, 1, image.GetHeight()), 0, 0, 255);
  for (int y = h; y < image.GetHeight(); y += h + 1)
    image.SetRGB(wxRect(0, y, image.GetWidth(), 1), 0, 0, 255);
  for (int g = 1; g < 256; ++g)
    image.SetRGB(wxRect((w + 1) * (g % 32), (h + 1) * (g / 32), w, h), 0, 0, 0);
  return image;
}
} // namespace

TEST(CZLCDDisplay, SevenSegmentEightLightsAllSegmentsAndOneOnlyTwo)
{
  LcdFrame f;
  f.lcd->SetDigits(4, 0, TRUE);
  f.lcd->SetValue(8);
  wxImage image = f.Paint();
  ASSERT_EQ(f.lcd->GetCellCount(), 4);
  EXPECT_EQ(f.LitColumns(image, 3, 7), Set({0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(f.LitColumns(image, 0, 7), Set({0, 1, 2, 3, 4, 5}));
  for (int cell = 0; cell < 3; ++cell)
    EXPECT_FALSE(IsLit(image, f.lcd->GetSegmentCentre(cell, kSevenPoint)));
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_seven_segment_0008").IsEmpty());

  f.lcd->SetValue(1);
  image = f.Paint();
  EXPECT_EQ(f.LitColumns(image, 3, 7), Set({1, 2}));
  f.lcd->SetValue(2);
  EXPECT_EQ(f.LitColumns(f.Paint(), 3, 7), Set({0, 1, 3, 4, 6}));
  f.lcd->SetText(L"7E");
  EXPECT_EQ(f.LitColumns(f.Paint(), 0, 7), Set({0, 1, 2}));
  EXPECT_EQ(f.LitColumns(f.Paint(), 1, 7), Set({0, 3, 4, 5, 6}));
}

TEST(CZLCDDisplay, SevenSegmentSignCellAndDecimalPoint)
{
  // The position read-out of the main dialog: six digits, two decimals and a sign cell.
  LcdFrame f(280, 60);
  f.lcd->SetDisplayMode(0);
  f.lcd->SetDigits(6, 2, TRUE);
  f.lcd->SetSegmentColour(RGB(150, 0, 0), 0, 0);
  f.lcd->SetShowSign(TRUE);
  f.lcd->SetValue(12.5);
  wxImage image = f.Paint();
  ASSERT_EQ(f.lcd->GetCellCount(), 7);
  // "+0012.50": the plus in the sign cell, the point lit after the "2" only.
  const SLcdGeometry& g = f.lcd->GetGeometry();
  const wxPoint centre = f.lcd->GetSegmentCentre(0, kSevenPlus);
  const int armReach = std::min(g.cellWidth - 2 * g.sideMargin, 2 * g.verticalLength) / 2;
  const wxPoint plusArm(centre.x, centre.y - armReach / 2);
  EXPECT_TRUE(IsLit(image, centre));
  EXPECT_TRUE(IsLit(image, plusArm));
  EXPECT_EQ(f.LitColumns(image, 1, 7), Set({0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(f.LitColumns(image, 3, 7), Set({1, 2}));
  EXPECT_EQ(f.LitColumns(image, 4, 7), Set({0, 1, 3, 4, 6}));
  EXPECT_EQ(f.LitColumns(image, 5, 7), Set({0, 2, 3, 5, 6}));
  for (int cell = 0; cell < 6; ++cell)
    EXPECT_EQ(IsLit(image, f.lcd->GetSegmentCentre(cell, kSevenPoint)), cell == 4) << "cell " << cell;
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_seven_segment_signed").IsEmpty());

  f.lcd->SetValue(-3.2);
  image = f.Paint();
  EXPECT_TRUE(IsLit(image, centre));
  EXPECT_FALSE(IsLit(image, plusArm));
  EXPECT_EQ(f.LitColumns(image, 4, 7), Set({0, 1, 2, 3, 6}));
  EXPECT_TRUE(IsLit(image, f.lcd->GetSegmentCentre(4, kSevenPoint)));
}

TEST(CZLCDDisplay, NegativeNumberWithoutSignCellKeepsItsLastDigit)
{
  LcdFrame f;
  f.lcd->SetDigits(4, 0, TRUE);
  f.lcd->SetValue(-12);
  const wxImage image = f.Paint();
  ASSERT_EQ(f.lcd->GetCellCount(), 4);
  EXPECT_EQ(f.LitColumns(image, 2, 7), Set({1, 2}));
  EXPECT_EQ(f.LitColumns(image, 3, 7), Set({0, 1, 3, 4, 6}));
}

TEST(CZLCDDisplay, SevenSegmentCharactersWithoutARowStayDark)
{
  LcdFrame f;
  f.lcd->SetDigits(4, 0, TRUE);
  // 'H', 'P', 'Z' and '`' have no seven-segment row; they must not show as the digits and
  // punctuation whose rows their codes less 64 would reach.
  f.lcd->SetText(L"HPZ`");
  const wxImage image = f.Paint();
  EXPECT_EQ(LitPixels(image), 0);
  f.lcd->SetText(L"beef");
  EXPECT_EQ(f.LitColumns(f.Paint(), 0, 7), Set({2, 3, 4, 5, 6}));
}

TEST(CZLCDDisplay, SixteenSegmentDrawsTheTableRows)
{
  LcdFrame f(320, 100);
  f.lcd->SetDisplayMode(1);
  f.lcd->SetDigits(4, 0, TRUE);
  f.lcd->SetText(L"81-+");
  const wxImage image = f.Paint();
  EXPECT_EQ(f.LitColumns(image, 0, 16), Set({0, 1, 2, 3, 4, 5, 6, 7, 10, 11}));
  EXPECT_EQ(f.LitColumns(image, 1, 16), Set({2, 3}));
  EXPECT_EQ(f.LitColumns(image, 2, 16), Set({11}));
  EXPECT_EQ(f.LitColumns(image, 3, 16), Set({8, 9, 10, 11}));
  f.lcd->SetText(L"HVX1");
  EXPECT_EQ(f.LitColumns(f.Paint(), 1, 16), Set({6, 7, 13, 15}));
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_sixteen_segment").IsEmpty());
}

TEST(CZLCDDisplay, DotMatrixShowsTheGlyphsOfTheFontResource)
{
  LcdFrame f(240, 100);
  ASSERT_TRUE(f.lcd->LoadDotMatrixFont(kDotMatrixFont));
  const SDotMatrixFont& font = f.lcd->GetDotMatrixFont();
  EXPECT_EQ(font.width, 5);
  EXPECT_EQ(font.height, 7);
  f.lcd->SetDisplayMode(2);
  f.lcd->SetDigits(4, 0, TRUE);
  f.lcd->SetText(L"Hi:8");
  const wxImage image = f.Paint();
  int litDots = 0;
  for (int cell = 0; cell < 4; ++cell) {
    const int glyph = int(L"Hi:8"[cell]);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(IsLit(image, f.lcd->GetDotCentre(cell, x, y)), font.Dot(glyph, x, y))
            << "cell " << cell << " dot " << x << "," << y;
        litDots += font.Dot(glyph, x, y) ? 1 : 0;
      }
  }
  EXPECT_GT(litDots, 30);
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_dot_matrix").IsEmpty());
}

TEST(CZLCDDisplay, DotMatrixFontOneDotWideOrHighIsRefused)
{
  LcdFrame f(240, 100);
  f.lcd->SetDisplayMode(2);
  f.lcd->SetDigits(4, 0, TRUE);
  ASSERT_TRUE(f.lcd->LoadDotMatrixFont(BlockFont(3, 3)));
  f.lcd->SetText(L"AAAA");
  EXPECT_GT(LitPixels(f.Paint()), 100);

  EXPECT_FALSE(f.lcd->LoadDotMatrixFont(BlockFont(1, 7)));
  EXPECT_FALSE(f.lcd->GetDotMatrixFont().IsLoaded());
  EXPECT_EQ(LitPixels(f.Paint()), 0);
  EXPECT_FALSE(f.lcd->LoadDotMatrixFont(BlockFont(5, 1)));
  EXPECT_EQ(LitPixels(f.Paint()), 0);
  EXPECT_FALSE(f.lcd->LoadDotMatrixFont(wxImage()));
  EXPECT_FALSE(f.lcd->LoadDotMatrixFont(UINT(99999)));
}

TEST(CZLCDDisplay, BlinkingHidesAndShowsTheCellsOnEachTick)
{
  LcdFrame f;
  f.lcd->SetValue(8888);
  const int steady = LitPixels(f.Paint());
  EXPECT_GT(steady, 200);
  EXPECT_FALSE(f.lcd->GetTimers().IsRunning(CIsiLcdDisplay::kBlinkTimer));

  f.lcd->SetBlinkPeriod(60000);
  EXPECT_EQ(f.lcd->GetTimers().GetElapse(CIsiLcdDisplay::kBlinkTimer), 60000u);
  ASSERT_TRUE(f.lcd->GetTimers().Fire(CIsiLcdDisplay::kBlinkTimer));
  EXPECT_EQ(LitPixels(f.Paint()), 0);
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_blink_off").IsEmpty());
  ASSERT_TRUE(f.lcd->GetTimers().Fire(CIsiLcdDisplay::kBlinkTimer));
  EXPECT_EQ(LitPixels(f.Paint()), steady);
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kBlinkTimer);

  // No blinking: steadily visible, whatever phase it stopped in.
  f.lcd->SetBlinkPeriod(0);
  EXPECT_FALSE(f.lcd->GetTimers().IsRunning(CIsiLcdDisplay::kBlinkTimer));
  EXPECT_EQ(LitPixels(f.Paint()), steady);

  // The real timer toggles the phase by itself.
  f.lcd->SetBlinkPeriod(20);
  int toggles = 0;
  BOOL phase = f.lcd->GetBlinkPhase();
  for (int i = 0; i < 40 && toggles < 2; ++i) {
    PumpEvents(10);
    if (f.lcd->GetBlinkPhase() != phase) {
      phase = f.lcd->GetBlinkPhase();
      ++toggles;
    }
  }
  EXPECT_EQ(toggles, 2);
  f.lcd->SetBlinkPeriod(0);
}

TEST(CZLCDDisplay, ScrollingMovesTheTextOneCellPerStepFromBlanks)
{
  LcdFrame f(240, 100);
  ASSERT_TRUE(f.lcd->LoadDotMatrixFont(kDotMatrixFont));
  f.lcd->SetDisplayMode(2);
  f.lcd->SetDigits(4, 0, TRUE);
  f.lcd->SetText(L"AB");
  const SDotMatrixFont& font = f.lcd->GetDotMatrixFont();
  // The cells showing the glyph of `code`, told by the dots lit in each cell.
  auto showing = [&](const wxImage& image) {
    CString shown;
    for (int cell = 0; cell < 4; ++cell) {
      wchar_t found = L'?';
      for (wchar_t code : {L' ', L'A', L'B'}) {
        bool same = true;
        for (int y = 0; y < 7 && same; ++y)
          for (int x = 0; x < 5 && same; ++x)
            same = IsLit(image, f.lcd->GetDotCentre(cell, x, y)) == font.Dot(int(code), x, y);
        if (same)
          found = code;
      }
      shown += found;
    }
    return shown;
  };
  EXPECT_EQ(showing(f.Paint()), CString(L"AB  "));

  f.lcd->SetStepPeriod(60000);
  EXPECT_TRUE(f.lcd->GetTimers().IsRunning(CIsiLcdDisplay::kStepTimer));
  EXPECT_EQ(showing(f.Paint()), CString(L"   A"));
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
  EXPECT_EQ(showing(f.Paint()), CString(L"  AB"));
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
  EXPECT_EQ(showing(f.Paint()), CString(L"AB  "));
  EXPECT_FALSE(SaveSnapshot(f.lcd->PaintToBitmap(), "lcd_dot_matrix_scrolled").IsEmpty());
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
  EXPECT_EQ(showing(f.Paint()), CString(L"B   "));
  // Past the end of the text it starts again from the blanks.
  f.lcd->GetTimers().Fire(CIsiLcdDisplay::kStepTimer);
  EXPECT_EQ(showing(f.Paint()), CString(L"   A"));
  EXPECT_EQ(f.lcd->GetStepCounter(), 0);

  f.lcd->SetStepPeriod(0);
  EXPECT_FALSE(f.lcd->GetTimers().IsRunning(CIsiLcdDisplay::kStepTimer));
  EXPECT_EQ(showing(f.Paint()), CString(L"AB  "));

  // The real timer steps by itself.
  f.lcd->SetText(L"a text far longer than the read-out");
  f.lcd->SetStepPeriod(20);
  for (int i = 0; i < 40 && f.lcd->GetStepCounter() < 2; ++i)
    PumpEvents(10);
  EXPECT_GE(f.lcd->GetStepCounter(), 2);
  f.lcd->SetStepPeriod(0);
}

TEST(CZLCDDisplay, ReadoutsOfTheMainDialogLookRight)
{
  // The three read-outs as the main dialog sets them up, saved for people to look at.
  LcdFrame position(150, 30);
  position.lcd->SetDisplayMode(0);
  position.lcd->SetDigits(6, 2, TRUE);
  position.lcd->SetSegmentColour(0x009696, 0, 0);
  position.lcd->SetShowSign(TRUE);
  position.lcd->GetBorder().SetStyle(1);
  position.lcd->GetBorder().SetWidth(2);
  position.lcd->SetValue(-123.45);
  EXPECT_FALSE(SaveSnapshot(position.lcd->PaintToBitmap(), "lcd_position_readout").IsEmpty());
  // The border's two pixels each side are the frame, not the display's black fill.
  const wxImage image = position.Paint();
  EXPECT_NE(ColourAt(image, 0, 15), *wxBLACK);
  EXPECT_EQ(position.lcd->GetCellRect(0).left, 2);

  LcdFrame status(220, 30);
  ASSERT_TRUE(status.lcd->LoadDotMatrixFont(kDotMatrixFont));
  status.lcd->SetDisplayMode(2);
  status.lcd->SetDigits(12, 0, TRUE);
  status.lcd->SetSegmentColour(RGB(0, 200, 0), 0, 0);
  status.lcd->SetTextMode(TRUE);
  status.lcd->GetBorder().SetStyle(1);
  status.lcd->GetBorder().SetWidth(2);
  status.lcd->SetText(L"Disconnected");
  EXPECT_FALSE(SaveSnapshot(status.lcd->PaintToBitmap(), "lcd_status_readout").IsEmpty());
  // On screen the read-out shows what it paints off screen.
  const wxImage painted = status.Paint();
  auto same = [&] {
    const wxImage screen = CaptureWindow(status.lcd).ConvertToImage();
    for (int y = 0; y < painted.GetHeight(); y += 3)
      for (int x = 0; x < painted.GetWidth(); x += 3)
        if (IsLit(screen, wxPoint(x, y)) != IsLit(painted, wxPoint(x, y)))
          return false;
    return true;
  };
  EXPECT_TRUE(WaitUntil(same));
  EXPECT_FALSE(SaveSnapshot(status.frame, "lcd_status_readout_on_screen").IsEmpty());
}
