# What `cmake --install` puts where (GNU folders below the install prefix),
# in three components, which the Debian packages follow (cmake/package.cmake):
#   vrk3              the programs, desktop entries, icons, AppStream data,
#                     man pages, bash completion and the Debian documentation
#                     files: the package vrk3;
#   data              what is the same on every architecture: the help pages,
#                     the sample dictionary and the installed dictionaries
#                     (where the build made them), with their own Debian
#                     documentation files: the package vrk3-data;
#   machine-settings  writes "InstallPath" (the folder of the help pages)
#                     into the per-machine settings store. The Debian
#                     package leaves it out and does the same in its postinst.
include(GNUInstallDirs)

# The one place the maintainer is named: the Debian packages and their
# changelog take it from here. A distribution that packages the programs
# itself gives its own (-DVRK3_PACKAGE_MAINTAINER=...).
set(VRK3_PACKAGE_MAINTAINER "Verbatrakon III developers <vrk3-dev@tavro.example>"
    CACHE STRING "Maintainer named in the Debian packages")
# The date of this release, as the man pages and the AppStream release show
# it (the Debian changelog names the same day).
set(VRK3_RELEASE_DATE 2026-12-07)

set(VRK3_INSTALL_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/vrk3")
set(VRK3_INSTALL_SHARE "${CMAKE_INSTALL_FULL_DATADIR}/vrk3")
set(VRK3_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/vrk3")
set(VRK3_DATA_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/vrk3-data")
set(res ${PROJECT_SOURCE_DIR}/resources)
# The AppStream ids, in reverse-DNS form below the team's domain; the
# desktop entries keep their names (vrk3.desktop, vrk3zsn.desktop), which the
# programs give as their desktop file names.
set(VRK3_APPSTREAM_FINDER example.tavro.vrk3)
set(VRK3_APPSTREAM_MANAGER example.tavro.vrk3zsn)
set(VRK3_HOMEPAGE "https://vrk3.tavro.example/")
set(gen ${PROJECT_BINARY_DIR}/resources)

# The sample dictionary, made from its CSV text with the tool just built.
add_custom_command(
  OUTPUT ${gen}/Vzorec.vrk3
  COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:vrk3tool> -DSOURCE=${res}/sample/slovar.csv
          -DWORK=${gen}/sample-work -DOUTPUT=${gen}/Vzorec.vrk3
          -P ${PROJECT_SOURCE_DIR}/cmake/make_sample.cmake
  DEPENDS vrk3tool ${res}/sample/slovar.csv ${PROJECT_SOURCE_DIR}/cmake/make_sample.cmake
  COMMENT "Making the sample dictionary"
  VERBATIM)

# Man pages name the real folders; Debian wants them (and the changelog)
# compressed without a time stamp.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed ${gen}/Vzorec.vrk3)
foreach(page vrk3tool Vrk3 vrk3zsn)
  configure_file(${res}/man/${page}.1.in ${gen}/${page}.1 @ONLY)
endforeach()
configure_file(${res}/debian/changelog.in ${gen}/changelog @ONLY)
foreach(file vrk3tool.1 Vrk3.1 vrk3zsn.1 changelog)
  add_custom_command(
    OUTPUT ${gen}/${file}.gz
    COMMAND ${GZIP_PROGRAM} -9nc ${gen}/${file} > ${gen}/${file}.gz
    DEPENDS ${gen}/${file}
    VERBATIM)
  list(APPEND compressed ${gen}/${file}.gz)
endforeach()
add_custom_target(vrk3_install_files ALL DEPENDS ${compressed})

set(programs vrk3tool)
if(VRK3_GUI)
  list(APPEND programs Vrk3 vrk3zsn)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT vrk3)
# The compiler's version notes (from its start-up files) are of no use in an
# installed program.
if(CMAKE_OBJCOPY)
  install(CODE "
    foreach(program ${programs})
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
    endforeach()
  " COMPONENT vrk3)
endif()

install(DIRECTORY ${res}/help/ DESTINATION ${VRK3_INSTALL_SHARE_DIR} COMPONENT data
        FILES_MATCHING PATTERN "*.html")
install(FILES ${gen}/Vzorec.vrk3 DESTINATION ${VRK3_INSTALL_SHARE_DIR}/sample COMPONENT data)
# The dictionary "Slovenske besede", where the build makes it (resources/words):
# a new user's first start makes a library of it (settings/first_library.h).
if(VRK3_WORD_LIST_FILE)
  add_dependencies(vrk3_install_files vrk3_word_list)
  install(FILES ${VRK3_WORD_LIST_FILE} DESTINATION ${VRK3_INSTALL_SHARE_DIR}/dictionaries
          COMPONENT data)
endif()
# The dictionaries of descriptions, where the build makes them
# (resources/clues), beside it: the first start's library holds them too.
if(VRK3_CLUE_FILES)
  add_dependencies(vrk3_install_files vrk3_clues)
  install(FILES ${VRK3_CLUE_FILES} DESTINATION ${VRK3_INSTALL_SHARE_DIR}/dictionaries
          COMPONENT data)
endif()
install(FILES ${res}/desktop/vrk3.desktop ${res}/desktop/vrk3zsn.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT vrk3)
install(FILES ${res}/icons/app-finder.svg DESTINATION
        ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME vrk3.svg COMPONENT vrk3)
install(FILES ${res}/icons/app-manager.svg DESTINATION
        ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME vrk3zsn.svg COMPONENT vrk3)
# One AppStream component per program, so that software centres list both.
foreach(id ${VRK3_APPSTREAM_FINDER} ${VRK3_APPSTREAM_MANAGER})
  configure_file(${res}/desktop/${id}.metainfo.xml.in ${gen}/${id}.metainfo.xml @ONLY)
  install(FILES ${gen}/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT vrk3)
endforeach()
install(FILES ${gen}/vrk3tool.1.gz ${gen}/Vrk3.1.gz ${gen}/vrk3zsn.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT vrk3)
install(FILES ${res}/completion/vrk3tool
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT vrk3)
# Each package has its own copyright file and changelog; the data's sources
# and licences are in both.
install(FILES ${res}/debian/copyright ${gen}/changelog.gz DESTINATION ${VRK3_DOC_DIR}
        COMPONENT vrk3)
install(FILES ${res}/debian/copyright ${gen}/changelog.gz DESTINATION ${VRK3_DATA_DOC_DIR}
        COMPONENT data)
install(FILES ${res}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vrk3 COMPONENT vrk3)
install(FILES ${res}/debian/lintian-overrides-data
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vrk3-data COMPONENT data)

# "InstallPath" is a fact of the installation: the install (not a program at
# its first start, which a normal user runs without the right to write the
# per-machine store) records where it put the help pages. A staged install
# (DESTDIR) writes the store inside the staging folder.
install(CODE "
  set(store \"\$ENV{DESTDIR}${VRK3_MACHINE_SETTINGS_FOLDER}\")
  set(share \"\${CMAKE_INSTALL_PREFIX}/${VRK3_INSTALL_SHARE_DIR}\")
  message(STATUS \"Machine settings: \${store}/machine.db, InstallPath = \${share}\")
  file(MAKE_DIRECTORY \"\${store}\")
  execute_process(
    COMMAND \${CMAKE_COMMAND} -E env \"VRK3_SETTINGS_DIR=\${store}\"
            \"$<TARGET_FILE:vrk3tool>\" settings set --raw
            \"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Tavro\\\\Verbatrakon III\" InstallPath \${share}
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR \"InstallPath could not be written into \${store}/machine.db\")
  endif()
  file(CHMOD \"\${store}/machine.db\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
" COMPONENT machine-settings)

if(VRK3_TESTS)
  add_test(NAME install.staged
           COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/install-test ${PROJECT_BINARY_DIR})
  set_tests_properties(install.staged PROPERTIES LABELS install TIMEOUT ${VRK3_SCRIPT_TEST_TIMEOUT})
endif()
