# cmake -DOUTPUT=<file.cpp> -DFILES=<a.png|b.png|...> -P EmbedFiles.cmake
# Writes a C++ table of the files' bytes for FindEmbeddedResource. "<id>_<name>.<ext>" becomes
# resource <id> named <name>; any other file has id 0 and is named by its stem.
string(REPLACE "|" ";" files "${FILES}")
list(SORT files)
set(arrays "")
set(rows "")
set(index 0)
foreach(file ${files})
  get_filename_component(stem "${file}" NAME_WE)
  if(stem MATCHES "^([0-9]+)_(.+)$")
    set(id ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
  else()
    set(id 0)
    set(name ${stem})
  endif()
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n  " bytes "${bytes}")
  string(APPEND arrays "const unsigned char kFile${index}[${size}] = {\n  ${bytes}\n};\n")
  string(APPEND rows "  {${id}, \"${name}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  set(rows "  {0, \"\", nullptr, 0},\n")
endif()
set(text "// Generated from res/ by EmbedFiles.cmake at build time; edit the pictures, not this file.
#include \"EmbeddedResourceTable.h\"

#include <cstring>

namespace {
${arrays}
const SEmbeddedResource kTable[] = {
${rows}};
} // namespace

const SEmbeddedResource* FindEmbeddedResource(int id)
{
  for (const SEmbeddedResource& resource : kTable)
    if (resource.data && resource.id == id && id != 0)
      return &resource;
  return nullptr;
}

const SEmbeddedResource* FindEmbeddedResource(const char* name)
{
  for (const SEmbeddedResource& resource : kTable)
    if (resource.data && name && std::strcmp(resource.name, name) == 0)
      return &resource;
  return nullptr;
}
")
# Rewrite only when something changed, so that a rebuild does not recompile the table.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
