# Writes OUTPUT, a C++ file that holds every file of PAGES (a list) as bytes, with its name and
# content type, for find_embedded_file(). Run at build time, so an edited page is embedded again.
# PAGES comes separated by '|', as a list cannot pass through a command line.
string(REPLACE "|" ";" PAGES "${PAGES}")
set(body "")
set(table "")
set(index 0)
foreach(path IN LISTS PAGES)
  get_filename_component(name "${path}" NAME)
  get_filename_component(ext "${path}" LAST_EXT)
  if(ext STREQUAL ".html")
    set(type "text/html; charset=utf-8")
  elseif(ext STREQUAL ".js")
    set(type "text/javascript; charset=utf-8")
  elseif(ext STREQUAL ".css")
    set(type "text/css; charset=utf-8")
  elseif(ext STREQUAL ".svg")
    set(type "image/svg+xml")
  else()
    message(FATAL_ERROR "${path}: no content type known for this kind of file")
  endif()
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(APPEND body "const std::uint8_t file${index}[] = {${hex}};\n")
  string(APPEND table "    {\"${name}\", \"${type}\", file${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Made by web/embed_pages.cmake from web/pages/; do not edit.
#include \"web/pages.h\"

namespace web {
namespace {
${body}
const EmbeddedFile files[] = {
${table}};
}  // namespace

const EmbeddedFile* find_embedded_file(std::string_view name) {
    for (const EmbeddedFile& f : files)
        if (f.name == name) return &f;
    return nullptr;
}

}  // namespace web
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
