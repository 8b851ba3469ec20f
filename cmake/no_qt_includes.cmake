# Fails when a C++ file under ROOT/<each of FOLDERS> includes a Qt header
# (a name that starts with Q). Run by the test layers.no_qt_includes:
#   cmake -DROOT=<source dir> "-DFOLDERS=store;settings;tools" -P no_qt_includes.cmake
set(found "")
foreach(folder IN LISTS FOLDERS)
  file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name "${ROOT}" "${file}")
      string(APPEND found "  ${name}: ${line}\n")
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Qt headers in folders that must not use Qt:\n${found}")
endif()
message(STATUS "No Qt header in: ${FOLDERS}")
