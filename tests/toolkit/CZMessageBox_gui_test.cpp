#include "CStringPrinting.h"
#include "CZDlgTools.h"
#include "CZMessageBox.h"
#include "DialogUnits.h"
#include "GuiTestSupport.h"
#include "ModalTestSupport.h"
#include "StandardMessageBox.h"
#include "StringResources.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/stattext.h>

#include <functional>

namespace {
// Runs the box for real: driver gets the open box (from inside its modal loop) and must end it.
int RunBox(CZMessageBox& box, std::function<void(wxDialog*)> driver)
{
  ModalWatchdog().ExpectDialog([driver](wxDialog* dialog) {
    PumpEvents(30);
    driver(dialog);
  });
  return box.DoModal();
}

// Delivers a key to the box as the window system would before the box dispatches it.
void PressKey(wxDialog* dialog, int keyCode, bool ctrl = false, bool alt = false)
{
  wxKeyEvent key(wxEVT_CHAR_HOOK);
  key.m_keyCode = keyCode;
  key.SetControlDown(ctrl);
  key.SetAltDown(alt);
  key.SetEventObject(dialog);
  dialog->GetEventHandler()->ProcessEvent(key);
}

wxWindow* Child(wxDialog* dialog, int controlId)
{
  return dialog->FindWindow(ToWindowId(controlId));
}

// Clicks a button of the box as the mouse would.
void Click(wxDialog* dialog, int controlId)
{
  wxWindow* button = Child(dialog, controlId);
  wxCommandEvent click(wxEVT_BUTTON, button->GetId());
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
}

// The answer a box gives when it is ended by keys, one after the other, while it stays open.
int AnswerToKeys(UINT type, std::vector<std::tuple<int, bool, bool>> keys,
                 std::vector<bool>* stillOpen = nullptr)
{
  CZMessageBox box;
  box.SetText(L"Keys");
  box.SetType(type);
  return RunBox(box, [&](wxDialog* dialog) {
    for (auto [code, ctrl, alt] : keys) {
      PressKey(dialog, code, ctrl, alt);
      if (stillOpen)
        stillOpen->push_back(dialog->IsModal());
    }
    if (dialog->IsModal())
      dialog->EndModal(wxID_NONE);
  });
}

struct CaptionGuard {
  ~CaptionGuard() { SetDefaultCaption(L""); }
};
} // namespace

TEST(CZMessageBox, ResponderAnswersAndRecordsEveryBox)
{
  CaptionGuard guard;
  CModalAnswerQueue answers;
  answers.Queue(IDNO);
  answers.Queue(IDOK);
  answers.Queue(IDCANCEL);
  SetDefaultCaption(L"HVX PRO Config");
  EXPECT_EQ(ZMessageBox(L"Disconnect and close HVX Pro Config?", MB_YESNO | MB_ICONHAND, 0), IDNO);
  CZMessageBox box;
  box.SetTextFormat(L"Servo %d of %s", 3, L"7");
  box.SetType(MB_OK);
  EXPECT_EQ(box.DoModal(), IDOK);
  EXPECT_EQ(box.GetResult(), IDOK);
  SetDefaultCaption(L"");
  EXPECT_EQ(AfxMessageBox(L"Clipboard copy error!", 0), IDCANCEL);

  const auto& asked = answers.Requests();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, EModalKind::MessageBox);
  EXPECT_EQ(asked[0].text, CString(L"Disconnect and close HVX Pro Config?"));
  EXPECT_EQ(asked[0].type, MB_YESNO | MB_ICONHAND);
  EXPECT_EQ(asked[0].caption, CString(L"HVX PRO Config"));
  EXPECT_EQ(asked[1].text, CString(L"Servo 3 of 7"));
  EXPECT_EQ(asked[1].type, MB_OK);
  EXPECT_EQ(asked[2].kind, EModalKind::StandardMessageBox);
  EXPECT_EQ(asked[2].caption, CString(wxTheApp->GetAppDisplayName().wc_str()));
  // A box built without a type asks OK and Cancel.
  answers.Queue(IDCANCEL);
  CZMessageBox plain;
  plain.SetText(L"plain");
  plain.DoModal();
  EXPECT_EQ(answers.Requests().back().type, MB_OKCANCEL);
  EXPECT_EQ(answers.Requests().back().caption, CString(wxTheApp->GetAppDisplayName().wc_str()));
}

TEST(CZMessageBox, UnexpectedBoxesAndDialogsFailTheTestInsteadOfWaiting)
{
  EXPECT_NONFATAL_FAILURE(
      {
        CModalAnswerQueue none;
        ZMessageBox(L"Nobody expects this", MB_OK, 0);
      },
      "unexpected message box \"Nobody expects this\"");
  EXPECT_NONFATAL_FAILURE(
      {
        wxDialog stray(nullptr, wxID_ANY, "Stray dialog");
        stray.ShowModal();
      },
      "unexpected modal dialog \"Stray dialog\"");
  EXPECT_NONFATAL_FAILURE(
      {
        CModalAnswerQueue unused;
        unused.Queue(IDOK);
      },
      "never asked for");
}

TEST(CZMessageBox, TextHeightFitsEveryLineOfTheText)
{
  CZMessageBox box;
  const CString text =
      L"Master id not found!\nTry disconnecting and reconnecting the usb cable and/or toggle the "
      L"power.\nThird line";
  box.SetText(text);
  box.SetType(MB_OK);
  int lineHeight = 0, textHeight = 0, clientWidth = 0;
  wxRect textRect, okRect;
  wxString label;
  const int result = RunBox(box, [&](wxDialog* dialog) {
    auto* control = dynamic_cast<wxStaticText*>(Child(dialog, IDC_ZMESSAGE_TEXT));
    ASSERT_NE(control, nullptr);
    wxClientDC dc(control);
    dc.SetFont(control->GetFont());
    lineHeight = dc.GetCharHeight();
    label = control->GetLabelText();
    textRect = control->GetRect();
    okRect = Child(dialog, IDOK)->GetRect();
    textHeight = box.GetTextHeight();
    clientWidth = dialog->GetClientSize().x;
    EXPECT_FALSE(SaveSnapshot(dialog, "message_box_three_lines").IsEmpty());
    PressKey(dialog, WXK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  // The long middle line wraps within the box; every line stays, none is cut.
  const int lines = int(label.Freq('\n')) + 1;
  EXPECT_GE(lines, 4);
  wxString joined = label;
  joined.Replace("\n", " ");
  EXPECT_EQ(
      joined,
      wxString(
          "Master id not found! Try disconnecting and reconnecting the usb cable and/or toggle the power. "
          "Third line"));
  EXPECT_GE(textHeight, lines * lineHeight);
  EXPECT_GE(textRect.height, lines * lineHeight);
  EXPECT_LE(textRect.GetRight(), clientWidth);
  EXPECT_LE(textRect.GetBottom(), okRect.GetTop());
}

TEST(CZMessageBox, ShortTextBoxIsAsWideAsItsButtons)
{
  CZMessageBox box;
  box.SetText(L"Servo not found!");
  box.SetType(MB_YESNOCANCEL);
  std::vector<wxRect> buttons;
  std::vector<bool> shown;
  wxSize client;
  RunBox(box, [&](wxDialog* dialog) {
    client = dialog->GetClientSize();
    for (int id : {IDYES, IDNO, IDCANCEL})
      buttons.push_back(Child(dialog, id)->GetRect());
    for (int id : {IDOK, IDABORT, IDRETRY, IDIGNORE})
      shown.push_back(Child(dialog, id)->IsShown());
    EXPECT_FALSE(SaveSnapshot(dialog, "message_box_yes_no_cancel").IsEmpty());
    PressKey(dialog, 'C');
  });
  EXPECT_EQ(client.x, 3 * 70 + 80);
  EXPECT_GE(client.y, 120);
  EXPECT_EQ(shown, std::vector<bool>(4, false));
  // Yes, No, Cancel from left to right, ending at the right margin, all on the bottom margin.
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[2].GetRight() + 1, client.x - 8);
  EXPECT_EQ(buttons[1].GetRight() + 1 + 1, buttons[2].x);
  EXPECT_EQ(buttons[0].GetRight() + 1 + 1, buttons[1].x);
  for (const wxRect& r : buttons) {
    EXPECT_EQ(r.width, 80);
    EXPECT_EQ(r.GetBottom() + 1, client.y - 8);
  }
}

TEST(CZMessageBox, EnterPressesTheDefaultShownButton)
{
  EXPECT_EQ(AnswerToKeys(MB_OK, {{WXK_RETURN, false, false}}), IDOK);
  EXPECT_EQ(AnswerToKeys(MB_OKCANCEL, {{WXK_RETURN, false, false}}), IDOK);
  EXPECT_EQ(AnswerToKeys(MB_YESNO, {{WXK_NUMPAD_ENTER, false, false}}), IDYES);
  EXPECT_EQ(AnswerToKeys(MB_RETRYCANCEL, {{WXK_RETURN, false, false}}), IDRETRY);
  EXPECT_EQ(AnswerToKeys(MB_ABORTRETRYIGNORE, {{WXK_RETURN, false, false}}), IDABORT);
}

TEST(CZMessageBox, OnlyLettersOfShownButtonsWithoutCtrlOrAltAnswer)
{
  std::vector<bool> open;
  EXPECT_EQ(AnswerToKeys(
                MB_OK,
                {{'Y', false, false}, {'N', false, false}, {WXK_ESCAPE, false, false}, {'O', false, false}},
                &open),
            IDOK);
  EXPECT_EQ(open, (std::vector<bool>{true, true, true, false}));
  open.clear();
  EXPECT_EQ(AnswerToKeys(MB_YESNO,
                         {{'N', true, false}, {'N', false, true}, {'C', false, false}, {'N', false, false}},
                         &open),
            IDNO);
  EXPECT_EQ(open, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(AnswerToKeys(MB_ABORTRETRYIGNORE, {{'I', false, false}}), IDIGNORE);
  EXPECT_EQ(AnswerToKeys(MB_OKCANCEL, {{'C', false, false}}), IDCANCEL);
  // Keys that answer nothing leave the box open.
  open.clear();
  AnswerToKeys(MB_YESNO, {{WXK_ESCAPE, false, false}, {'Q', false, false}}, &open);
  EXPECT_EQ(open, (std::vector<bool>{true, true}));
}

TEST(CZMessageBox, ReturnsTheIdAndCaptionOfTheButtonPressed)
{
  CZMessageBox box;
  box.SetText(L"Are you sure you want to reconfigure the HVX Pro Servo to its default values?");
  box.SetType(MB_YESNO);
  const int result = RunBox(box, [](wxDialog* dialog) { Click(dialog, IDNO); });
  EXPECT_EQ(result, IDNO);
  EXPECT_EQ(box.GetResult(), IDNO);
  EXPECT_EQ(box.GetButtonText(), CString(L"No"));

  // The same box runs again, with its result and button text reset at the opening.
  int resultWhileOpen = 0;
  const int again = RunBox(box, [&](wxDialog* dialog) {
    resultWhileOpen = box.GetResult();
    Click(dialog, IDYES);
  });
  EXPECT_EQ(resultWhileOpen, -1);
  EXPECT_EQ(again, IDYES);
  EXPECT_EQ(box.GetButtonText(), CString(L"Yes"));
}

TEST(CZMessageBox, OpensCentredOnItsParentWithTheProgramCaption)
{
  CaptionGuard guard;
  SetDefaultCaption(L"HVX PRO Config");
  auto* frame = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(300, 200), wxSize(700, 500));
  frame->Show();
  PumpEvents(100);
  const wxRect owner = frame->GetScreenRect();
  wxRect placed;
  wxString title;
  {
    // The box is its parent's child: it must go before the parent does.
    CZMessageBox box(frame);
    box.SetText(L"Please confirm the configuration change.");
    RunBox(box, [&](wxDialog* dialog) {
      placed = dialog->GetScreenRect();
      title = dialog->GetTitle();
      PressKey(dialog, WXK_RETURN);
    });
  }
  EXPECT_EQ(title, wxString("HVX PRO Config"));
  EXPECT_NEAR(placed.x + placed.width / 2.0, owner.x + owner.width / 2.0, 2.0);
  EXPECT_NEAR(placed.y + placed.height / 2.0, owner.y + owner.height / 2.0, 2.0);

  // A box without a parent centres on the program's main window.
  wxTheApp->SetTopWindow(frame);
  CZMessageBox orphan;
  orphan.SetText(L"Serial port timeout!");
  RunBox(orphan, [&](wxDialog* dialog) {
    placed = dialog->GetScreenRect();
    PressKey(dialog, WXK_RETURN);
  });
  EXPECT_NEAR(placed.x + placed.width / 2.0, owner.x + owner.width / 2.0, 2.0);
  EXPECT_NEAR(placed.y + placed.height / 2.0, owner.y + owner.height / 2.0, 2.0);
  wxTheApp->SetTopWindow(nullptr);
  frame->Destroy();
  PumpEvents(20);
}

TEST(CZMessageBox, ImageShowsAboveTheTextWhenItLoads)
{
  const wxString path = wxFileName::CreateTempFileName("hvx-box") + ".png";
  wxImage picture(40, 20);
  picture.SetRGB(wxRect(0, 0, 40, 20), 0, 160, 0);
  ASSERT_TRUE(picture.SaveFile(path, wxBITMAP_TYPE_PNG));
  CZMessageBox box;
  box.SetText(L"Board detected.");
  box.SetType(MB_OK);
  box.SetImagePath(CString(path.wc_str()));
  wxSize client;
  wxRect image, text;
  RunBox(box, [&](wxDialog* dialog) {
    client = dialog->GetClientSize();
    image = Child(dialog, IDC_ZMESSAGE_IMAGE)->GetRect();
    text = Child(dialog, IDC_ZMESSAGE_TEXT)->GetRect();
    EXPECT_TRUE(WaitUntil([&] {
      const wxImage shown = CaptureWindow(dialog).ConvertToImage();
      return ColourAt(shown, client.x / 2, 10) == wxColour(0, 160, 0);
    }));
    EXPECT_FALSE(SaveSnapshot(dialog, "message_box_with_image").IsEmpty());
    PressKey(dialog, 'O');
  });
  wxRemoveFile(path);
  EXPECT_EQ(client.x, 300);
  EXPECT_GE(client.y, 120 + 250);
  EXPECT_EQ(image.x, 0);
  EXPECT_EQ(image.width, client.x);
  EXPECT_LE(image.GetBottom(), text.y);
}

TEST(CZMessageBox, CtrlRightDoubleClickCopiesTheNamedStringResource)
{
  SetStringResource(41001, L"Servo not found!");
  ZResourceIdList().AddTail(ZResourceId{41001, L"IDS_SERVO_NOT_FOUND"});
  CZMessageBox box;
  box.SetText(L"Servo not found!");
  box.SetType(MB_OK);
  box.SetResourceId(41001);
  RunBox(box, [](wxDialog* dialog) {
    wxMouseEvent click(wxEVT_RIGHT_DCLICK);
    click.SetControlDown(true);
    click.SetEventObject(dialog);
    dialog->GetEventHandler()->ProcessEvent(click);
    PressKey(dialog, WXK_RETURN);
  });
  ZResourceIdList().RemoveAll();
  wxString copied;
  if (wxTheClipboard->Open()) {
    wxTextDataObject data;
    if (wxTheClipboard->GetData(data))
      copied = data.GetText();
    wxTheClipboard->Clear();
    wxTheClipboard->Close();
  }
  EXPECT_EQ(copied, wxString("IDS_SERVO_NOT_FOUND,\"Servo not found!\""));
  EXPECT_EQ(LoadResString(41001), CString(L"Servo not found!"));
  EXPECT_EQ(LoadResString(41002), CString(L"???"));
}
