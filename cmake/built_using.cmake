# Run by CPack once the packages are made (CPACK_POST_BUILD_SCRIPTS): gives
# the data package the field Built-Using, which names the Debian source
# packages, with their versions, whose data its dictionaries were made from.
# A distribution must then keep those sources as long as it ships the
# package. CPack has no setting for the field, so the package is unpacked,
# the field added to its control file, and the package made again.
#   CPACK_VRK3_DATA_PACKAGE_NAME  the data package;
#   CPACK_VRK3_DATA_MADE_FROM     the files the dictionaries were read from.
# A file that no installed package holds (a build from other copies of the
# data) names no source package.
set(sources "")
foreach(file ${CPACK_VRK3_DATA_MADE_FROM})
  execute_process(COMMAND dpkg-query -S "${file}" OUTPUT_VARIABLE owner RESULT_VARIABLE rc
                  ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(STATUS "Built-Using: no Debian package holds ${file}")
    continue()
  endif()
  # "package[:arch]: path"; a path may be held by several packages.
  string(REGEX REPLACE ":.*" "" owner "${owner}")
  string(REGEX REPLACE ",.*" "" owner "${owner}")
  execute_process(COMMAND dpkg-query -W "-f=\${source:Package} (= \${source:Version})" "${owner}"
                  OUTPUT_VARIABLE source RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR source STREQUAL "")
    message(FATAL_ERROR "Built-Using: dpkg-query knows no source of ${owner}")
  endif()
  list(APPEND sources "${source}")
endforeach()
list(REMOVE_DUPLICATES sources)
list(SORT sources)
if(NOT sources)
  return()
endif()
list(JOIN sources ", " built_using)

foreach(deb ${CPACK_PACKAGE_FILES})
  get_filename_component(name "${deb}" NAME)
  if(NOT name MATCHES "^${CPACK_VRK3_DATA_PACKAGE_NAME}_.*\\.deb$")
    continue()
  endif()
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  file(READ "${tree}/DEBIAN/control" control)
  string(REGEX REPLACE "\n(Description:)" "\nBuilt-Using: ${built_using}\n\\1" control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")
  execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${deb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
  message(STATUS "${name}: Built-Using: ${built_using}")
endforeach()
