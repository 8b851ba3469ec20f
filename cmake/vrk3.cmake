# vrk3_test(NAME SOURCES... LIBS ...): a GoogleTest program beside the code it
# checks, registered with CTest under the label of its folder.
function(vrk3_test name)
  if(NOT VRK3_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  get_filename_component(label ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${label}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()

# The engine folders must never reach Qt: fail the configure step if a target
# there links anything named Qt.
function(vrk3_forbid_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Qt")
      message(FATAL_ERROR "${target} must not link Qt (${lib})")
    endif()
  endforeach()
endfunction()
