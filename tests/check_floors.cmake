# The floors of the product, each file including only its own floor and the floors below:
#   foundation < config < aircraft, airports < traffic < app and run (the window and the run on top),
# within traffic/ the sub-floors
#   model < feed < parking < sim < motion < engine,
# and the tests' shared helpers (tests/support) a floor below app and run.
# Fails when a file of src/<floor>/ or tests/<floor>/ includes a header of a higher floor, when a
# file of src/traffic/<sub-floor>/ includes a header of a higher traffic sub-floor or lies in a
# folder that is no sub-floor, when a file of tests/support/ includes app/ or run/, when a file
# below the top floor includes the Win32 UI or GDI layer (platform/win32/; tests/support drives the
# window system and may), or when a file of src/platform/ includes a product header.
# Run: cmake -DMRW_SOURCE_DIR=<repository> -P tests/check_floors.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT IS_DIRECTORY "${MRW_SOURCE_DIR}/src")
  message(FATAL_ERROR "MRW_SOURCE_DIR (${MRW_SOURCE_DIR}) holds no src/ folder")
endif()

# Ranks: side-by-side floors share one.
set(floor_foundation 0)
set(floor_config 10)
set(floor_aircraft 20)
set(floor_airports 20)
set(floor_traffic 30)
set(floor_support 35)
set(floor_app 40)
set(floor_run 40)
set(top_floor 40)
set(floors foundation config aircraft airports traffic app run)

set(traffic_floors model feed parking sim motion engine)
list(JOIN traffic_floors " < " traffic_order)

set(violations "")

# The floor name of a src/ or tests/ file (own), or "platform", or "" for a file outside the house.
function(mrw_floor_of file result)
  set(own "")
  if(file MATCHES "^src/platform/")
    set(own platform)
  elseif(file MATCHES "^tests/support/")
    set(own support)
  elseif(file MATCHES "^(src|tests)/([^/]+)/")
    if(CMAKE_MATCH_2 IN_LIST floors)
      set(own "${CMAKE_MATCH_2}")
    endif()
  endif()
  set(${result} "${own}" PARENT_SCOPE)
endfunction()

# The problem with one include of a file on the floor `own`, or "".
function(mrw_include_problem file own header result)
  set(problem "")
  string(REGEX MATCH "^([^/]+)/" _ "${header}")
  set(target "${CMAKE_MATCH_1}")
  if(own STREQUAL "platform")
    if(target IN_LIST floors)
      set(problem "${file}: the platform layer includes the product header ${header}")
    endif()
  elseif(target IN_LIST floors AND floor_${target} GREATER floor_${own})
    set(problem "${file}: ${header} is on a floor above ${own}/")
  elseif(header MATCHES "^platform/win32/" AND floor_${own} LESS top_floor AND NOT own STREQUAL "support")
    set(problem "${file}: ${header} is the window layer, used only by app/ and run/")
  elseif(file MATCHES "^src/traffic/([^/]+)/" AND header MATCHES "^traffic/([^/]+)/")
    set(target_sub "${CMAKE_MATCH_1}")
    string(REGEX MATCH "^src/traffic/([^/]+)/" _ "${file}")
    set(own_sub "${CMAKE_MATCH_1}")
    list(FIND traffic_floors "${own_sub}" own_rank)
    list(FIND traffic_floors "${target_sub}" target_rank)
    if(target_rank GREATER own_rank)
      set(problem "${file}: ${header} is on a traffic floor above traffic/${own_sub}/")
    endif()
  endif()
  set(${result} "${problem}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${MRW_SOURCE_DIR}
     ${MRW_SOURCE_DIR}/src/*.h ${MRW_SOURCE_DIR}/src/*.cpp ${MRW_SOURCE_DIR}/tests/*.h ${MRW_SOURCE_DIR}/tests/*.cpp)
foreach(file IN LISTS files)
  mrw_floor_of("${file}" own)
  if(own STREQUAL "")
    continue()
  endif()
  if(file MATCHES "^src/traffic/")
    string(REGEX MATCH "^src/traffic/([^/]+)/" _ "${file}")
    if(NOT CMAKE_MATCH_1 IN_LIST traffic_floors)
      list(APPEND violations "${file}: traffic/ holds its files in its sub-floors only (${traffic_order})")
      continue()
    endif()
  endif()
  file(STRINGS ${MRW_SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    mrw_include_problem("${file}" "${own}" "${header}" problem)
    if(problem)
      list(APPEND violations "${problem}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(LENGTH violations count)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "${count} against the floors:\n  ${text}")
endif()
message(STATUS "Every include points to its own floor or one below.")
