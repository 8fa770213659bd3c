# Gathers the course pictures' descriptions, each kept beside its picture's
# source, into one file that the build compiles into the program:
#   - a drawing's <title> in assets/src/NAME.svg,
#   - a graph's "description" line in assets/src/NAME.graph (which the
#     drawing of the same name then leaves out),
#   - the computed spectra's table kDescriptions in tools/wavelengths.h.
# Writes OUTPUT, one picture a line: NAME, a tab, the description.
#   cmake -D SOURCE_DIR=... -D OUTPUT=... -P tools/picturedescriptions.cmake
# Descriptions hold no semicolon (a list separator here).
cmake_minimum_required(VERSION 3.25)

set(lines "")
file(GLOB drawings "${SOURCE_DIR}/assets/src/*.svg")
list(SORT drawings)
foreach(drawing IN LISTS drawings)
  get_filename_component(name "${drawing}" NAME_WE)
  set(graph "${SOURCE_DIR}/assets/src/${name}.graph")
  if(EXISTS "${graph}")
    file(STRINGS "${graph}" found REGEX "^description " ENCODING UTF-8)
    if(found)
      string(REGEX REPLACE "^description +" "" text "${found}")
      string(APPEND lines "${name}\t${text}\n")
    endif()
    continue()
  endif()
  file(READ "${drawing}" head LIMIT 2000)
  if(head MATCHES "<title>([^<]*)</title>")
    string(APPEND lines "${name}\t${CMAKE_MATCH_1}\n")
  endif()
endforeach()

file(READ "${SOURCE_DIR}/tools/wavelengths.h" spectra)
string(REGEX MATCHALL "\\{\"pces[0-9]+\",[ \n]*\"[^\"]*\"\\}" entries "${spectra}")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\\{\"(pces[0-9]+)\",[ \n]*\"([^\"]*)\"\\}$" "\\1\t\\2" line "${entry}")
  string(APPEND lines "${line}\n")
endforeach()

# Written only when it changes, so that an unchanged set rebuilds nothing.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT EXISTS "${OUTPUT}" OR NOT old STREQUAL lines)
  file(WRITE "${OUTPUT}" "${lines}")
endif()
