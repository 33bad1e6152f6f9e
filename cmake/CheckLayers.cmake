# The layers of src/, lowest first, and what the sources of each folder may include besides their own
# folder. A folder below may never include one above it; the build stops at configure time when one
# does, and the test check_layers says the same. Run alone: cmake -DRSGZ_SOURCE_DIR=<root> -P CheckLayers.cmake
cmake_policy(VERSION 3.25)
set(RSGZ_LAYERS
  "db:"
  "app:db app/rules"
  "app/rules:db app"
  "admin:db app app/rules"
  "query:db app app/rules admin"
  "print:db app app/rules admin query"
  "personnel:db app app/rules admin query print"
  "exchange:db app app/rules admin query print personnel"
  "exchange/reader:db app exchange"
  "payroll:db app app/rules admin query print personnel exchange"
  "widgets:db app app/rules admin query print personnel exchange payroll"
  "admin/windows:db app admin query print personnel exchange payroll widgets"
  "query/windows:db app admin query print personnel exchange payroll widgets admin/windows"
  "print/windows:db app admin query print personnel exchange payroll widgets admin/windows query/windows"
  "personnel/windows:db app admin query print personnel exchange payroll widgets admin/windows query/windows print/windows"
  "exchange/windows:db app admin query print personnel exchange payroll widgets admin/windows query/windows print/windows personnel/windows"
  "payroll/windows:db app admin query print personnel exchange payroll widgets admin/windows query/windows print/windows personnel/windows exchange/windows"
  "shell:db app app/rules admin query print personnel exchange payroll widgets admin/windows query/windows print/windows personnel/windows exchange/windows payroll/windows")

# Sets ${out} to the list of "file:line: includes x" for every include that leaves its layer.
function(rsgz_layer_violations root out)
  set(known)
  foreach(entry ${RSGZ_LAYERS})
    string(REGEX MATCH "^[^:]*" folder "${entry}")
    string(REGEX REPLACE "^[^:]*:" "" below "${entry}")
    string(REPLACE " " ";" below "${below}")
    set(allowed_${folder} ${below})
    list(APPEND known ${folder})
  endforeach()
  set(found)
  file(GLOB_RECURSE sources RELATIVE ${root}/src ${root}/src/*.cpp ${root}/src/*.h)
  foreach(source ${sources})
    get_filename_component(folder ${source} DIRECTORY)
    if(NOT folder IN_LIST known)
      list(APPEND found "src/${source}: its folder ${folder} is in no layer (cmake/CheckLayers.cmake)")
      continue()
    endif()
    file(STRINGS ${root}/src/${source} lines)
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(line MATCHES "^#include \"([^\"]*)/[^/\"]*\"")
        set(target ${CMAKE_MATCH_1})
        if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
          list(APPEND found "src/${source}:${number}: ${folder} may not include ${target} (${line})")
        endif()
      endif()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  rsgz_layer_violations(${RSGZ_SOURCE_DIR} violations)
  if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "Includes against the layers:\n${text}")
  endif()
  message(STATUS "No include leaves its layer")
endif()
