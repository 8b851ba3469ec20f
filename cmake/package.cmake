# The Debian packages (scripts/package builds them): `cpack -G DEB` in a build
# tree configured with the prefix /usr, one package per component of
# cmake/install.cmake:
#   vrk3       the programs, for one architecture; its postinst writes the
#              machine settings (and its postrm removes them on purge), since
#              a package must not ship a settings store that the
#              administrator changes;
#   vrk3-data  the help pages and the dictionaries, most of the size, the
#              same on every architecture (Architecture: all). It declares
#              the Debian source packages its dictionaries were made from
#              (Built-Using, cmake/built_using.cmake).
foreach(script postinst postrm)
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/${script}.in
                 ${PROJECT_BINARY_DIR}/debian/${script} @ONLY)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vrk3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Verbatrakon III")
set(CPACK_PACKAGE_CONTACT "${VRK3_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VRK3_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VRK3_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL vrk3 data)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}/package")

# vrk3: the programs. Each package's description starts with its summary;
# CPack copies the descriptions into its configuration as they are, so they
# hold no double quotes.
set(CPACK_DEBIAN_VRK3_PACKAGE_NAME vrk3)
set(CPACK_DEBIAN_VRK3_DESCRIPTION [=[word finder for Slovene crossword solvers
Verbatrakon III finds the words of a crossword from their known letters
and from words that must or must not occur in their descriptions, in the
dictionaries of a library, and lets a found word be edited, saved into
another dictionary or deleted, with undo (Vrk3). The dictionary manager
(vrk3zsn) keeps libraries and dictionaries and converts older formats and
CSV; vrk3tool does the same from the command line. Slovene user interface.]=])
# The shared libraries the programs link come from dpkg-shlibdeps. Qt loads
# the rest at run time from the packages of those libraries: the platform
# plugins xcb (a desktop) and offscreen (tests) are in libqt6gui6, the SVG
# plugins in libqt6svg6. Beyond those the programs need only their data.
set(CPACK_DEBIAN_VRK3_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_VRK3_PACKAGE_DEPENDS "vrk3-data (= ${PROJECT_VERSION})")
# Qt's own Slovene texts (file and font dialogs); without them the programs
# use their own Slovene for the buttons and the main labels. The Wayland
# platform plugin is a package of its own: without it a Wayland desktop runs
# the programs through XWayland with xcb.
set(CPACK_DEBIAN_VRK3_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_VRK3_PACKAGE_CONTROL_EXTRA
    ${PROJECT_BINARY_DIR}/debian/postinst ${PROJECT_BINARY_DIR}/debian/postrm)

# vrk3-data: the help pages and the dictionaries.
set(CPACK_DEBIAN_DATA_PACKAGE_NAME vrk3-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SOURCE vrk3)
set(CPACK_DEBIAN_DATA_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DATA_DESCRIPTION [=[dictionaries and help of the Verbatrakon III word finder
The help pages of the Verbatrakon III programs, a sample dictionary, and
the dictionaries a new user's library is made of: Slovenske besede, every
Slovene word form of the spelling dictionary hunspell-sl; Slovenske
sopomenke, the Slovene thesaurus mythes-sl with each sense's synonyms as a
clue; and Slovenski pojmi, the Slovene names of countries, municipalities
of Slovenia, languages and currencies from iso-codes.]=])

# The Debian source packages the installed dictionaries were made from, by
# the file each was read from; cmake/built_using.cmake asks dpkg for their
# versions when the package is made.
set(CPACK_VRK3_DATA_MADE_FROM "")
if(VRK3_WORD_LIST_FILE)
  list(APPEND CPACK_VRK3_DATA_MADE_FROM ${VRK3_HUNSPELL_SL_DIC})
endif()
foreach(made ${VRK3_CLUE_FILES})
  if(made MATCHES "slovenske-sopomenke")
    list(APPEND CPACK_VRK3_DATA_MADE_FROM ${VRK3_MYTHES_SL_DAT})
  elseif(made MATCHES "slovenski-pojmi")
    list(APPEND CPACK_VRK3_DATA_MADE_FROM ${VRK3_ISO_CODES_JSON}/iso_3166-1.json)
  endif()
endforeach()
set(CPACK_VRK3_DATA_PACKAGE_NAME vrk3-data)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/built_using.cmake)
include(CPack)
