# tonalyx_embed_resources(<list> <out> [SYMBOL <name>] [RC]): generates, at build time, the C++
# source (or with RC the resource-script fragment) for the resources named in <list>; every file
# the list names is a dependency, so editing artwork regenerates it.
function(tonalyx_embed_resources list out)
  cmake_parse_arguments(ARG "RC" "SYMBOL" "" ${ARGN})
  get_filename_component(base "${list}" DIRECTORY)
  file(STRINGS "${list}" lines)
  set(deps "${list}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*([A-Za-z0-9_]+)[ \t]+([A-Za-z0-9_]+)[ \t]+(.+)$")
      string(STRIP "${CMAKE_MATCH_3}" p)
      list(APPEND deps "${base}/${p}")
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${list}")
  if(ARG_RC)
    set(mode rc)
  else()
    set(mode cpp)
  endif()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DLIST=${list} -DOUT=${out} -DMODE=${mode} -DSYMBOL=${ARG_SYMBOL}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    DEPENDS ${deps} ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    COMMENT "Embedding resources of ${list}"
    VERBATIM)
endfunction()
