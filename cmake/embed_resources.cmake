# Turns a resource list (lines "TYPE NAME path", paths relative to the list) into either a C++
# source that embeds the bytes for the headless port (MODE cpp) or resource-script lines for the
# Windows build (MODE rc). A BITMAP is embedded without its 14-byte file header, as the Windows
# resource loader hands it out.
# Usage: cmake -DLIST=... -DOUT=... -DMODE=cpp|rc [-DSYMBOL=...] -P embed_resources.cmake
cmake_policy(VERSION 3.20)
get_filename_component(base "${LIST}" DIRECTORY)
get_filename_component(list_name "${LIST}" NAME)
file(STRINGS "${LIST}" lines)
set(entries "")
set(arrays "")
set(rc_lines "")
set(count 0)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  string(REGEX MATCH "^([A-Za-z0-9_]+)[ \t]+([A-Za-z0-9_]+)[ \t]+(.+)$" ok "${line}")
  if(NOT ok)
    message(FATAL_ERROR "${LIST}: cannot read line '${line}'")
  endif()
  set(type "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(path "${base}/${CMAKE_MATCH_3}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "${LIST}: missing file ${path}")
  endif()
  if(MODE STREQUAL "rc")
    string(APPEND rc_lines "${name} ${type} \"${path}\"\n")
  else()
    set(offset 0)
    if(type STREQUAL "BITMAP")
      set(offset 14)
    endif()
    file(READ "${path}" hex OFFSET ${offset} HEX)
    string(LENGTH "${hex}" hexlen)
    math(EXPR size "${hexlen} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "static const uint8_t res${count}[] = {\n${bytes}0};\n")
    string(APPEND entries "    {\"${type}\", \"${name}\", res${count}, ${size}},\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(MODE STREQUAL "rc")
  file(WRITE "${OUT}.tmp" "${rc_lines}")
else()
  if(count EQUAL 0)
    set(entries "    {\"\", \"\", nullptr, 0},\n")
  endif()
  file(WRITE "${OUT}.tmp"
"// Generated from ${list_name}; do not edit.
#include \"port/headless/headless.h\"

${arrays}
namespace headless {
extern const EmbeddedResource ${SYMBOL}[];
extern const std::size_t ${SYMBOL}Count;
const EmbeddedResource ${SYMBOL}[] = {
${entries}};
const std::size_t ${SYMBOL}Count = ${count};
} // namespace headless
")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.tmp" "${OUT}")
file(REMOVE "${OUT}.tmp")
