#include "EmbeddedResources.h"

#include <wx/log.h>
#include <wx/mstream.h>

void EnsureImageHandlers()
{
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
    wxInitAllImageHandlers();
}

wxImage DecodeImageBytes(const void* data, size_t size)
{
  if (!data || size == 0)
    return wxImage();
  EnsureImageHandlers();
  // A file that is not an image is an answer here, not a message to the user.
  wxLogNull quiet;
  wxMemoryInputStream stream(data, size);
  wxImage image;
  if (!image.LoadFile(stream, wxBITMAP_TYPE_ANY))
    return wxImage();
  return image;
}
