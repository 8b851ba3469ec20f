# The Debian package (scripts/package builds it): `cpack -G DEB` in a build
# tree configured with the prefix /usr. It holds the component "vrk3" of
# cmake/install.cmake; the machine settings are written by its postinst
# (and removed on purge by its postrm), since a package must not ship a
# settings store that the administrator changes.
foreach(script postinst postrm)
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/${script}.in
                 ${PROJECT_BINARY_DIR}/debian/${script} @ONLY)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vrk3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Verbatrakon III")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word finder for Slovene crossword solvers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Verbatrakon III finds the words of a crossword from their known letters
and from words that must or must not occur in their descriptions, in the
dictionaries of a library, and lets a found word be edited, saved into
another dictionary or deleted, with undo (Vrk3). The dictionary manager
(vrk3zsn) keeps libraries and dictionaries and converts older formats and
CSV; vrk3tool does the same from the command line. Slovene user interface.]=])
set(CPACK_PACKAGE_CONTACT "${VRK3_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VRK3_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies come from dpkg-shlibdeps; Qt loads its platform
# plugins (xcb for a desktop, offscreen for tests) at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own Slovene texts (file and font dialogs); without them the programs
# use their own Slovene for the buttons and the main labels.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_BINARY_DIR}/debian/postinst ${PROJECT_BINARY_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};vrk3;/")
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}/package")
include(CPack)
