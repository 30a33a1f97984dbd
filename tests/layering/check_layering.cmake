# Checks that the libraries under src/ keep to their own folders:
# - no include by a relative path that leaves the including file's library folder
#   (such an include compiles whatever the include roots are);
# - a library builds its own form headers but not another library's: two probes set up
#   like the widgets library, one including its own form, one the views library's.
# Run with -DSOURCE_DIR=<tree> -DBINARY_DIR=<build folder>; -DSKIP_BUILD=ON leaves the
# probes out (for scanning another tree).

cmake_minimum_required(VERSION 3.25)

set(failures "")
set(scanned 0)

file(GLOB layers LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(layer ${layers})
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/${layer})
    continue()
  endif()
  set(root ${SOURCE_DIR}/src/${layer})
  file(GLOB_RECURSE files ${root}/*.h ${root}/*.cpp)
  foreach(file ${files})
    math(EXPR scanned "${scanned} + 1")
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*" "\\1" path "${line}")
      get_filename_component(dir ${file} DIRECTORY)
      get_filename_component(target ${dir}/${path} ABSOLUTE)
      string(FIND "${target}/" "${root}/" at)
      if(NOT at EQUAL 0)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        list(APPEND failures "${shown}: relative include out of src/${layer}: ${path}")
      endif()
    endforeach()
  endforeach()
endforeach()

# A scan of the wrong folder must not pass for a clean one.
foreach(layer core engine widgets reports editor views app)
  if(NOT layer IN_LIST layers)
    list(APPEND failures "no library folder src/${layer} under ${SOURCE_DIR}")
  endif()
endforeach()
if(scanned LESS 50)
  list(APPEND failures "only ${scanned} files scanned under ${SOURCE_DIR}/src")
endif()

if(NOT SKIP_BUILD)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} --target layering_own_form
                  RESULT_VARIABLE own_result OUTPUT_VARIABLE own_output ERROR_VARIABLE own_output)
  if(NOT own_result EQUAL 0)
    list(APPEND failures "a library's own form header does not build:\n${own_output}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} --target layering_foreign_form
                  RESULT_VARIABLE foreign_result OUTPUT_VARIABLE foreign_output
                  ERROR_VARIABLE foreign_output)
  if(foreign_result EQUAL 0)
    list(APPEND failures "the widgets library can include the views library's form header")
  elseif(NOT foreign_output MATCHES "WebsiteView")
    list(APPEND failures "the foreign form probe failed for another reason:\n${foreign_output}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "layering holds")
