# Headers of Qt and of the standard library that most files of the Qt
# programs include.
set(VRK3_QT_PCH
  <QAction> <QApplication> <QComboBox> <QDialog> <QFile> <QLabel> <QLineEdit>
  <QListWidget> <QMainWindow> <QMdiArea> <QMdiSubWindow> <QMenu> <QPainter>
  <QPushButton> <QString> <QTimer> <QTreeWidget> <QVBoxLayout> <QWidget>
  <functional> <memory> <string> <vector>)

# vrk3_precompile(TARGET HEADER...): precompiles HEADERs (library and
# standard headers only, never our own) once for TARGET instead of parsing
# them again for every file. Configure with -DVRK3_PCH=OFF to build
# without, e.g. to check that every file includes what it uses.
function(vrk3_precompile target)
  if(VRK3_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# Every test has a time limit, so that a hang fails the run within minutes
# instead of holding CI. A test case of a GoogleTest program takes well under
# a second in Release builds; the limits leave room for sanitizer builds and a
# busy machine. Script tests run many programs in a row.
set(VRK3_TEST_TIMEOUT 120)
set(VRK3_SCRIPT_TEST_TIMEOUT 600)

# vrk3_test(NAME SOURCES... LIBS ...): a GoogleTest program beside the code it
# checks, linked with the test-support library vrk_testing, registered with CTest under the label of its folder, each test case
# limited to VRK3_TEST_TIMEOUT seconds.
#
# Test programs compile their files together in groups (a unity build), so
# the test framework and Qt are parsed once per group, and without -O3 in
# Release builds: what they test is compiled as the programs are. Helpers
# in the unnamed namespaces of one test program's files need distinct names.
function(vrk3_test name)
  if(NOT VRK3_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vrk_testing GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O1>)
  get_filename_component(label ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${label}
               TIMEOUT ${VRK3_TEST_TIMEOUT}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()

# The engine (store, settings) and the command-line tool must never reach Qt.
# vrk3_forbid_qt(TARGET) checks TARGET once the whole project is configured,
# so that a link added anywhere later is seen too; it follows the links of
# every library TARGET links, and fails the configure step on anything named
# Qt.
function(vrk3_forbid_qt target)
  # The target's name is put into the deferred call now; its links are
  # read when the call runs, after the last CMakeLists.txt.
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL _vrk3_check_no_qt [[${target}]])")
endfunction()

function(_vrk3_check_no_qt target)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(lib IN LISTS links)
      if(lib MATCHES "Qt")
        message(FATAL_ERROR "${target} must not link Qt (${lib}, through ${current})")
      endif()
      # $<LINK_ONLY:x> and similar wrappers name the library inside.
      string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" name "${lib}")
      list(APPEND pending ${name})
    endforeach()
  endwhile()
endfunction()

# vrk3_check_no_qt_includes(FOLDER...): a test that fails when a source file
# in one of the folders includes a Qt header.
function(vrk3_check_no_qt_includes)
  if(NOT VRK3_TESTS)
    return()
  endif()
  add_test(NAME layers.no_qt_includes
           COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} "-DFOLDERS=${ARGN}"
                   -P ${PROJECT_SOURCE_DIR}/cmake/no_qt_includes.cmake)
  set_tests_properties(layers.no_qt_includes PROPERTIES LABELS layers TIMEOUT 60)
endfunction()

# vrk3_check_test_timeouts(): a test that fails when any test of the build
# (GoogleTest cases included, as CTest lists them) has no time limit.
function(vrk3_check_test_timeouts)
  if(NOT VRK3_TESTS)
    return()
  endif()
  add_test(NAME layers.test_timeouts
           COMMAND ${CMAKE_COMMAND} -DCTEST=${CMAKE_CTEST_COMMAND} -DBUILD=${PROJECT_BINARY_DIR}
                   -P ${PROJECT_SOURCE_DIR}/cmake/test_timeouts.cmake)
  set_tests_properties(layers.test_timeouts PROPERTIES LABELS layers TIMEOUT 120)
endfunction()
