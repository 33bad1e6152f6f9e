# One static library per layer of src/, made from the table of layers in cmake/CheckLayers.cmake:
# a folder's sources form the library of its layer, and that library links the libraries of the
# folders the table lets it include, and nothing else. An include that runs upward therefore
# finds no library to resolve it (and the configure stops on it first).
#
#   db -> rsgz_db, app and app/rules -> rsgz_app, <module> -> rsgz_<module>,
#   widgets -> rsgz_widgets, <module>/windows -> rsgz_<module>_windows, shell -> rsgz_shell.
#
# The main() of each program is no part of a layer: shell/main.cpp is the program rsgz, and
# exchange/reader is the program rsgz_reader; they link what their folder may include.
include(${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)

set(RSGZ_PROGRAM_MAINS src/shell/main.cpp src/exchange/reader/main.cpp)

# The library of a folder of src/.
function(rsgz_layer_target folder out)
  if(folder STREQUAL "app/rules")
    set(folder app)
  endif()
  string(REPLACE "/" "_" name "${folder}")
  set(${out} rsgz_${name} PARENT_SCOPE)
endfunction()

# The libraries the sources of a folder may use: those of the folders it may include, highest
# first, so that the link line holds every library once and below all its users: a call into a
# layer above then stays unresolved instead of being met by a later copy of that library.
function(rsgz_layer_links folder out)
  set(links)
  rsgz_layer_target(${folder} own)
  foreach(entry ${RSGZ_LAYERS})
    if(entry MATCHES "^${folder}:(.*)$")
      string(REPLACE " " ";" below "${CMAKE_MATCH_1}")
      foreach(other ${below})
        rsgz_layer_target(${other} target)
        if(NOT target STREQUAL own AND NOT target IN_LIST links)
          list(APPEND links ${target})
        endif()
      endforeach()
    endif()
  endforeach()
  list(REVERSE links)
  set(${out} ${links} PARENT_SCOPE)
endfunction()

# Makes the libraries of every layer, lowest first, and the aggregates rsgz_engine (db, app and
# the module engines) and rsgz_ui (widgets, the module windows, shell) that tests, benchmarks and
# tools link.
function(rsgz_add_layers root)
  set(made)
  foreach(entry ${RSGZ_LAYERS})
    string(REGEX MATCH "^[^:]*" folder "${entry}")
    rsgz_layer_target(${folder} target)
    file(GLOB sources CONFIGURE_DEPENDS ${root}/src/${folder}/*.cpp)
    foreach(main ${RSGZ_PROGRAM_MAINS})
      list(REMOVE_ITEM sources ${root}/${main})
    endforeach()
    if(NOT sources)
      continue()
    endif()
    if(target IN_LIST made)
      target_sources(${target} PRIVATE ${sources})
    else()
      add_library(${target} STATIC ${sources})
      target_compile_options(${target} PRIVATE -Wall -Wextra)
      list(APPEND made ${target})
    endif()
    rsgz_layer_links(${folder} links)
    target_link_libraries(${target} PUBLIC ${links})
  endforeach()
  set(RSGZ_LAYER_TARGETS ${made} PARENT_SCOPE)
endfunction()

rsgz_add_layers(${CMAKE_SOURCE_DIR})

target_include_directories(rsgz_db PUBLIC ${CMAKE_SOURCE_DIR}/src)
# What each layer needs from outside, and only there: the database engines below db, password
# hashing in app, the file formats of other programs in exchange, Qt Widgets from widgets up.
target_link_libraries(rsgz_db PUBLIC Qt6::Core PRIVATE PkgConfig::SQLITE3 PkgConfig::LIBPQ)
target_link_libraries(rsgz_app PRIVATE PkgConfig::SODIUM)
target_link_libraries(rsgz_exchange PRIVATE PkgConfig::MDB PkgConfig::FREEXL PkgConfig::LIBZIP PkgConfig::XLSXWRITER)
target_link_libraries(rsgz_widgets PUBLIC Qt6::Widgets Qt6::Charts)
target_link_libraries(rsgz_print_windows PUBLIC Qt6::PrintSupport)
file(GLOB RSGZ_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.qrc)
if(RSGZ_RESOURCES)
  target_sources(rsgz_shell PRIVATE ${RSGZ_RESOURCES})
  set_target_properties(rsgz_shell PROPERTIES AUTORCC ON)
endif()

add_library(rsgz_engine INTERFACE)
add_library(rsgz_ui INTERFACE)
set(highest_first ${RSGZ_LAYER_TARGETS})
list(REVERSE highest_first)
foreach(target ${highest_first})
  if(target MATCHES "^rsgz_(widgets|shell|.*_windows)$")
    target_link_libraries(rsgz_ui INTERFACE ${target})
  else()
    target_link_libraries(rsgz_engine INTERFACE ${target})
  endif()
endforeach()
target_link_libraries(rsgz_ui INTERFACE rsgz_engine)
