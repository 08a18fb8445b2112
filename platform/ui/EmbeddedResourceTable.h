#pragma once
// The table of files compiled into the program (res/*.png, generated at build time). A file
// named "<id>_<name>.png" is resource <id>; other files have id 0 and are found by name.
#include <cstddef>

struct SEmbeddedResource {
  int id;
  const char* name;
  const unsigned char* data;
  size_t size;
};

// Defined by the generated table (target hvx_images); nullptr when there is no such resource.
const SEmbeddedResource* FindEmbeddedResource(int id);
const SEmbeddedResource* FindEmbeddedResource(const char* name);
