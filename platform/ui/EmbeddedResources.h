#pragma once
// Images compiled into the program, decoded with wx's image handlers. The loaders are inline so
// that only a program that uses them needs the generated table (link hvx_images).
#include "EmbeddedResourceTable.h"

#include <wx/bitmap.h>
#include <wx/image.h>

// Makes sure every image format that wx can decode is registered (PNG for our resources).
void EnsureImageHandlers();
// Decodes a whole image file held in memory; an invalid image when the bytes are not one.
wxImage DecodeImageBytes(const void* data, size_t size);

inline wxImage LoadEmbeddedImage(int id)
{
  const SEmbeddedResource* resource = FindEmbeddedResource(id);
  return resource ? DecodeImageBytes(resource->data, resource->size) : wxImage();
}

inline wxBitmap LoadEmbeddedBitmap(int id)
{
  wxImage image = LoadEmbeddedImage(id);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}
