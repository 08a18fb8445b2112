#include "CStringPrinting.h"
#include "MessageBoxRules.h"
#include "MessageBoxTypes.h"

#include <gtest/gtest.h>

namespace {
int Key(UINT type, int keyCode, bool ctrl = false, bool alt = false, int focused = 0)
{
  SMessageBoxKey key;
  key.keyCode = keyCode;
  key.ctrl = ctrl;
  key.alt = alt;
  key.focusedButton = focused;
  return MessageBoxKeyButton(type, key);
}

constexpr int kEnter = 13;
constexpr int kNumpadEnter = 370;
constexpr int kEscape = 27;

// Ten pixels per character, whatever the character.
int Measure(const CString& s)
{
  return 10 * s.GetLength();
}
} // namespace

TEST(MessageBoxRules, TypesShowTheirButtonsInLayoutOrder)
{
  EXPECT_EQ(MessageBoxButtons(MB_OK), (std::vector<int>{IDOK}));
  EXPECT_EQ(MessageBoxButtons(MB_OKCANCEL), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(MessageBoxButtons(MB_ABORTRETRYIGNORE), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  EXPECT_EQ(MessageBoxButtons(MB_YESNOCANCEL), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(MessageBoxButtons(MB_YESNO), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(MessageBoxButtons(MB_RETRYCANCEL), (std::vector<int>{IDRETRY, IDCANCEL}));
  EXPECT_EQ(MessageBoxButtons(7), (std::vector<int>{IDABORT, IDIGNORE}));
  for (UINT type : {6u, 8u, 15u})
    EXPECT_TRUE(MessageBoxButtons(type).empty()) << type;
  // Only the low four bits choose the buttons.
  EXPECT_EQ(MessageBoxButtons(MB_YESNO | MB_ICONHAND | MB_DEFBUTTON2), MessageBoxButtons(MB_YESNO));
}

TEST(MessageBoxRules, EnterPressesTheDefaultShownButton)
{
  EXPECT_EQ(Key(MB_OK, kEnter), IDOK);
  EXPECT_EQ(Key(MB_OK | MB_ICONHAND, kEnter), IDOK);
  EXPECT_EQ(Key(MB_OKCANCEL, kEnter), IDOK);
  EXPECT_EQ(Key(MB_YESNO, kEnter), IDYES);
  EXPECT_EQ(Key(MB_YESNOCANCEL, kNumpadEnter), IDYES);
  EXPECT_EQ(Key(MB_ABORTRETRYIGNORE, kEnter), IDABORT);
  EXPECT_EQ(Key(MB_RETRYCANCEL, kEnter), IDRETRY);
  // The button with the focus wins, when it is one of the box's own.
  EXPECT_EQ(Key(MB_OKCANCEL, kEnter, false, false, IDCANCEL), IDCANCEL);
  EXPECT_EQ(Key(MB_OKCANCEL, kEnter, false, false, IDYES), IDOK);
  // A box without buttons cannot be closed otherwise.
  EXPECT_EQ(Key(6, kEnter), IDCANCEL);
  for (UINT type : {MB_OK, MB_YESNO, 6u})
    EXPECT_EQ(Key(type, kEscape), 0);
}

TEST(MessageBoxRules, OnlyLettersOfShownButtonsWithoutCtrlOrAltAnswer)
{
  EXPECT_EQ(Key(MB_OK, 'Y'), 0);
  EXPECT_EQ(Key(MB_OK, 'N'), 0);
  EXPECT_EQ(Key(MB_OK, 'O'), IDOK);
  EXPECT_EQ(Key(MB_OK, 'o'), IDOK);
  EXPECT_EQ(Key(MB_YESNO, 'Y'), IDYES);
  EXPECT_EQ(Key(MB_YESNO, 'N'), IDNO);
  EXPECT_EQ(Key(MB_YESNO, 'C'), 0);
  EXPECT_EQ(Key(MB_YESNOCANCEL, 'C'), IDCANCEL);
  EXPECT_EQ(Key(MB_ABORTRETRYIGNORE, 'A'), IDABORT);
  EXPECT_EQ(Key(MB_ABORTRETRYIGNORE, 'R'), IDRETRY);
  EXPECT_EQ(Key(MB_ABORTRETRYIGNORE, 'I'), IDIGNORE);
  EXPECT_EQ(Key(MB_ABORTRETRYIGNORE, 'O'), 0);
  EXPECT_EQ(Key(MB_YESNO, 'Y', true), 0);
  EXPECT_EQ(Key(MB_YESNO, 'Y', false, true), 0);
  EXPECT_EQ(Key(MB_OKCANCEL, 'C', true), 0);
  EXPECT_EQ(Key(MB_OKCANCEL, 'X'), 0);
  EXPECT_EQ(Key(6, 'O'), 0);
}

TEST(MessageBoxRules, BoxSizeFitsTheWholeText)
{
  SMessageBoxMeasure m;
  m.buttons = 2;
  m.averageCharWidth = 7;
  m.textWidth = 150;
  m.textHeight = 60; // three lines, each narrower than the widest the box allows
  SMessageBoxSize size = MessageBoxSize(m);
  EXPECT_EQ(size.textHeight, 60);
  EXPECT_EQ(size.textWidth, 150);
  EXPECT_EQ(size.width, 2 * 70 + 80);
  EXPECT_EQ(size.height, 140);

  m.textHeight = 15;
  m.textWidth = 30;
  size = MessageBoxSize(m);
  EXPECT_EQ(size.textHeight, 15);
  EXPECT_EQ(size.textWidth, 84); // at least 12 average characters
  EXPECT_EQ(size.height, 120);

  m.buttons = 1;
  m.textWidth = 390;
  size = MessageBoxSize(m);
  EXPECT_EQ(size.width, 390 + 42);
  m.textWidth = 900; // wider than allowed: the text is wrapped before it is measured
  EXPECT_EQ(MessageBoxSize(m).textWidth, 400);

  m.showImage = true;
  m.textWidth = 100;
  m.textHeight = 30;
  size = MessageBoxSize(m);
  EXPECT_EQ(size.width, 300);
  EXPECT_EQ(size.height, 120 + 250);
  EXPECT_EQ(MessageBoxMaxTextWidth(true), 300);
  EXPECT_EQ(MessageBoxMaxTextWidth(false), 400);
  // Room the controls need beside the text wins over the plain sum.
  m.showImage = false;
  m.minimumHeight = 150;
  EXPECT_EQ(MessageBoxSize(m).height, 150);
}

TEST(MessageBoxRules, LongLinesWrapAtBlanksAndKeepTheirLineBreaks)
{
  EXPECT_EQ(WrapMessageText(L"short", 100, Measure), CString(L"short"));
  EXPECT_EQ(WrapMessageText(L"one two three four", 100, Measure), CString(L"one two\nthree four"));
  EXPECT_EQ(WrapMessageText(L"a\r\nb\nc", 90, Measure), CString(L"a\nb\nc"));
  EXPECT_EQ(WrapMessageText(L"abcdefghijkl", 50, Measure), CString(L"abcde\nfghij\nkl"));
  EXPECT_EQ(WrapMessageText(L"", 50, Measure), CString(L""));
  const CString wrapped = WrapMessageText(
      L"Master id not found!\nTry disconnecting and reconnecting the usb cable", 200, Measure);
  int start = 0;
  while (start <= wrapped.GetLength()) {
    int end = wrapped.Find(L'\n', start);
    if (end < 0)
      end = wrapped.GetLength();
    EXPECT_LE(Measure(wrapped.Mid(start, end - start)), 200) << wrapped.Mid(start, end - start).GetString();
    start = end + 1;
  }
}
