# The Windows test build: the test programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), one CTest
# entry per program, with a Wine prefix of their own in the build tree.

# The tests of our Linux stand-ins, and the tests that drive them through their test interface
# (input injection, pumping, display lists, pixels), have no Windows counterpart: they are left out,
# and so is every test that includes a header of theirs.
set(MRW_STANDIN_ONLY_FOLDERS "/tests/platform/(win32|winsock|system)/")
set(MRW_STANDIN_ONLY_USES
  "platform/win32/(standin|window_registry|gdi_internal|gdi_objects|control_procs|control_support|text_rasterizer|paint_recording|message_queue|display_list|monitor_layout|window_text)\\.h"
  "platform/winsock/(posix_socket|wsa_error_map)\\.h"
  "standin::(pumpUntil|pumpUntilIdle|click|typeChars|selectComboItem|requestClose|paintOps|paintCount|pixel|renderWindow|savePng|readPng|setMonitors|resetMonitors|setFontFile|destroyAllWindows|pendingMessages|setCommandLine|quoteArgument|Image|PaintOp|Monitor)\\b")

function(mrw_drop_standin_tests sources_var)
  set(kept ${${sources_var}})
  list(FILTER kept EXCLUDE REGEX "${MRW_STANDIN_ONLY_FOLDERS}")
  file(GLOB_RECURSE candidates ${PROJECT_SOURCE_DIR}/tests/*.h ${PROJECT_SOURCE_DIR}/tests/*.cpp)
  set(patterns ${MRW_STANDIN_ONLY_USES})
  # A header whose file (or whose .cpp) uses a stand-in is stand-in only too: repeat until stable.
  set(dropped_headers)
  foreach(round RANGE 4)
    list(JOIN patterns "|" regex)
    set(found)
    foreach(file IN LISTS candidates)
      file(STRINGS ${file} hits REGEX "${regex}")
      if(hits)
        get_filename_component(folder ${file} DIRECTORY)
        get_filename_component(stem ${file} NAME_WE)
        file(RELATIVE_PATH header ${PROJECT_SOURCE_DIR}/tests ${folder}/${stem}.h)
        list(APPEND found ${header})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES found)
    if("${found}" STREQUAL "${dropped_headers}")
      break()
    endif()
    set(dropped_headers ${found})
    set(patterns ${MRW_STANDIN_ONLY_USES})
    foreach(header IN LISTS dropped_headers)
      string(REPLACE "." "\\." header ${header})
      list(APPEND patterns "#include \"${header}\"")
    endforeach()
  endforeach()
  list(JOIN patterns "|" regex)
  set(result)
  foreach(file IN LISTS kept)
    file(STRINGS ${file} hits REGEX "${regex}")
    if(NOT hits)
      list(APPEND result ${file})
    endif()
  endforeach()
  set(${sources_var} ${result} PARENT_SCOPE)
endfunction()

# Wine's view of a Linux path: its drive Z: is the Linux root.
function(mrw_wine_path out_var path)
  set(${out_var} "Z:${path}" PARENT_SCOPE)
endfunction()

set(MRW_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix of the Windows test run")

# One CTest entry for the whole program (each Wine start costs a second or more).
function(mrw_add_wine_test target)
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set(environment WINEPREFIX=${MRW_WINE_PREFIX} WINEDEBUG=-all)
  foreach(assignment IN LISTS MRW_TEST_ENVIRONMENT)
    if(assignment MATCHES "^([A-Z_]+)=(/.*)$")
      mrw_wine_path(path ${CMAKE_MATCH_2})
      list(APPEND environment "${CMAKE_MATCH_1}=${path}")
    else()
      list(APPEND environment ${assignment})
    endif()
  endforeach()
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 1200)
endfunction()
