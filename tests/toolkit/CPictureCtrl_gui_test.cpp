#include "CPictureCtrl.h"
#include "GuiTestSupport.h"
#include "TempUserFolders.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

namespace {
// A 40 x 20 picture, red on the left half and blue on the right.
CString WriteRedBluePicture(const TempFolder& folder)
{
  wxImage image(40, 20);
  image.SetRGB(wxRect(0, 0, 20, 20), 255, 0, 0);
  image.SetRGB(wxRect(20, 0, 20, 20), 0, 0, 255);
  const wxString path = wxString(folder.Path().string()) + "/redblue.png";
  image.SaveFile(path, wxBITMAP_TYPE_PNG);
  return CString(path.wc_str());
}

wxImage DrawnOnBitmap(CPictureCtrl& picture, BOOL* drawn = nullptr)
{
  const wxSize size = picture.GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    const BOOL result = picture.DrawToDC(&dc);
    if (drawn)
      *drawn = result;
  }
  return bitmap.ConvertToImage();
}

struct PictureFrame {
  PictureFrame()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "picture", wxPoint(50, 50), wxSize(240, 140));
    auto* panel = new wxPanel(frame);
    panel->SetBackgroundColour(*wxWHITE);
    picture = new CPictureCtrl(panel, 3410, wxPoint(10, 10), wxSize(100, 50));
    frame->Show();
    PumpEvents(60);
  }
  ~PictureFrame()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxFrame* frame;
  CPictureCtrl* picture;
};
} // namespace

TEST(CPictureCtrl, DrawsThePictureStretchedOverTheControl)
{
  TempFolder folder;
  PictureFrame f;
  ASSERT_TRUE(f.picture->Load(WriteRedBluePicture(folder)));
  EXPECT_TRUE(f.picture->IsLoaded());
  BOOL drawn = FALSE;
  wxImage image = DrawnOnBitmap(*f.picture, &drawn);
  EXPECT_TRUE(drawn);
  EXPECT_EQ(ColourAt(image, 5, 25), *wxRED);
  EXPECT_EQ(ColourAt(image, 45, 3), *wxRED);
  EXPECT_EQ(ColourAt(image, 55, 47), *wxBLUE);
  EXPECT_EQ(ColourAt(image, 95, 25), *wxBLUE);

  // A new size stretches the picture anew, without keeping its aspect ratio.
  f.picture->SetSize(200, 20);
  image = DrawnOnBitmap(*f.picture);
  EXPECT_EQ(ColourAt(image, 90, 10), *wxRED);
  EXPECT_EQ(ColourAt(image, 110, 10), *wxBLUE);
  EXPECT_EQ(ColourAt(image, 195, 17), *wxBLUE);
  WaitUntil([&] { return ColourAt(CaptureWindow(f.picture).ConvertToImage(), 195, 17) == *wxBLUE; });
  EXPECT_FALSE(SaveSnapshot(f.frame, "picture_ctrl").IsEmpty());
}

TEST(CPictureCtrl, FailedLoadLeavesTheControlEmptyOnScreen)
{
  TempFolder folder;
  PictureFrame f;
  ASSERT_TRUE(f.picture->Load(WriteRedBluePicture(folder)));
  auto screenAt = [&](int x, int y) { return ColourAt(CaptureWindow(f.picture).ConvertToImage(), x, y); };
  ASSERT_TRUE(WaitUntil([&] { return screenAt(5, 25) == *wxRED; }));

  errno = 0;
  EXPECT_FALSE(f.picture->Load(CString(wxString(folder.Path().string() + "/missing.png").wc_str())));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(f.picture->IsLoaded());
  EXPECT_TRUE(WaitUntil([&] { return screenAt(5, 25) == *wxWHITE && screenAt(95, 25) == *wxWHITE; }))
      << "the screen still shows the picture of the load before";
  BOOL drawn = TRUE;
  DrawnOnBitmap(*f.picture, &drawn);
  EXPECT_FALSE(drawn);

  EXPECT_FALSE(f.picture->Load(L""));
  EXPECT_FALSE(f.picture->IsLoaded());
  // A folder opens but cannot be read as a file.
  EXPECT_FALSE(f.picture->Load(CString(wxString(folder.Path().string()).wc_str())));
  EXPECT_FALSE(f.picture->IsLoaded());
}

TEST(CPictureCtrl, FileThatIsNoPictureDrawsNothing)
{
  TempFolder folder;
  PictureFrame f;
  const std::string path = folder.Path().string() + "/note.png";
  std::ofstream(path) << "not a picture";
  EXPECT_TRUE(f.picture->Load(CString(wxString(path).wc_str())));
  BOOL drawn = TRUE;
  const wxImage image = DrawnOnBitmap(*f.picture, &drawn);
  EXPECT_FALSE(drawn);
  EXPECT_EQ(ColourAt(image, 50, 25), *wxWHITE);
}
