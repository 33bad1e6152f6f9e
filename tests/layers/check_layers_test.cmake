# The layer check run on a small tree with one fault of each kind: it must report exactly these,
# and nothing for the forward declarations, the nested namespace or the program without one.
#   cmake -DRSGZ_SOURCE_DIR=<root> -P tests/layers/check_layers_test.cmake
cmake_policy(VERSION 3.25)
include(${RSGZ_SOURCE_DIR}/cmake/CheckLayers.cmake)
set(tree ${CMAKE_CURRENT_LIST_DIR}/tree)
rsgz_layer_violations(${tree} includes)
rsgz_namespace_violations(${tree} namespaces)
set(expected
  "src/db/Connection.h:2: db may not include app (#include \"app/Session.h\")"
  "src/misc/Stray.h: its folder misc is in no layer (cmake/CheckLayers.cmake)"
  "src/payroll/windows/Tpay.h:3: payroll/windows may not include shell (#include \"shell/Main.h\")"
  "src/payroll/windows/Tpay.h:5: rsgz::personnel in folder payroll/windows (its namespace is rsgz::payroll)"
  "src/widgets/Grid.h:6: rsgz::ui in folder widgets (its namespace is rsgz::widgets)")
set(found ${includes} ${namespaces})
list(SORT found)
if(NOT found STREQUAL expected)
  list(JOIN found "\n  " got)
  list(JOIN expected "\n  " want)
  message(FATAL_ERROR "The layer check reported\n  ${got}\nand should have reported\n  ${want}")
endif()
message(STATUS "The layer check finds every fault of the test tree")
