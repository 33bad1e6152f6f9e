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

# The namespace of a folder: rsgz::db, rsgz::app (app/rules too), rsgz::widgets, rsgz::shell, and
# rsgz::<module> for a module's engine, its windows and its programs.
function(rsgz_folder_namespace folder out)
  string(REGEX MATCH "^[^/]*" top "${folder}")
  set(${out} rsgz::${top} PARENT_SCOPE)
endfunction()

# Sets ${out} to the list of "file:line: ..." for every namespace block of the rsgz namespaces whose
# name disagrees with the file's folder. Nested namespaces inside the folder's own one are fine
# (rsgz::payroll::tax), and so is a block of forward declarations only, written on one line
# (namespace rsgz::db { class Connection; }) or on the lines up to its closing brace.
function(rsgz_namespace_violations root out)
  set(found)
  set(forward "^[ ]*((class|struct|enum class|enum) [A-Za-z_0-9]+( : [A-Za-z_0-9:]+)?;[ ]*)+$")
  file(GLOB_RECURSE sources RELATIVE ${root}/src ${root}/src/*.cpp ${root}/src/*.h)
  foreach(source ${sources})
    get_filename_component(folder ${source} DIRECTORY)
    rsgz_folder_namespace(${folder} own)
    file(STRINGS ${root}/src/${source} lines)
    set(number 0)
    set(open "")  # the namespace of a multi-line block not yet shown to hold definitions
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(open)
        if(line MATCHES "^}")
          set(open "")
        elseif(NOT line MATCHES "^[ ]*(//.*)?$" AND NOT line MATCHES "${forward}")
          list(APPEND found "src/${source}:${open_line}: ${open} in folder ${folder} (its namespace is ${own})")
          set(open "")
        endif()
      elseif(line MATCHES "^namespace (rsgz[A-Za-z_0-9:]*) {(.*)$")
        set(name ${CMAKE_MATCH_1})
        set(rest "${CMAKE_MATCH_2}")
        if(name STREQUAL own OR name MATCHES "^${own}::")
          continue()
        endif()
        if(rest MATCHES "^(.*)}")
          if(NOT CMAKE_MATCH_1 MATCHES "${forward}")
            list(APPEND found "src/${source}:${number}: ${name} in folder ${folder} (its namespace is ${own})")
          endif()
        else()
          set(open ${name})
          set(open_line ${number})
        endif()
      endif()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  rsgz_layer_violations(${RSGZ_SOURCE_DIR} violations)
  rsgz_namespace_violations(${RSGZ_SOURCE_DIR} namespace_violations)
  if(violations)
    list(JOIN violations "\n" text)
    message(SEND_ERROR "Includes against the layers:\n${text}")
  endif()
  if(namespace_violations)
    list(JOIN namespace_violations "\n" text)
    message(SEND_ERROR "Namespaces that do not follow their folder:\n${text}")
  endif()
  if(violations OR namespace_violations)
    message(FATAL_ERROR "The layers are broken")
  endif()
  message(STATUS "No include leaves its layer; every namespace follows its folder")
endif()
