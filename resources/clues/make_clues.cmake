# Makes one dictionary of descriptions ("Slovenske sopomenke" or "Slovenski
# pojmi"), as `cmake -P` with
#   CLUES      vrk3clues, which reads the source and writes the dictionary
#   KIND       thesaurus or names
#   INPUT, INPUT2  its inputs: the thesaurus file, or the folders of the
#              iso-codes lists and of their Slovene catalogues
#   PACKAGE    the Debian package the data comes from
#   COPYRIGHT  its Debian copyright file, which names the authors and licence
#   FILES      the Files line of the paragraph that covers the data
#   NAME       the dictionary's name
#   ABOUT      what the notes say the entries are, before the source
#   DETAILS    the installed copyright file of this program, named in the notes
#   WORK       a scratch folder
#   OUTPUT     the dictionary to write
# Author and notes name the source and its licence; the flags allow export
# and forbid changes (vrk3clues). The scratch files of the store are kept in
# WORK. OUTPUT is replaced only by a complete dictionary.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/debian_copyright.cmake")
vrk3_debian_copyright("${COPYRIGHT}" "${FILES}" author licence source)
vrk3_debian_package(${PACKAGE} package)
set(notes "${ABOUT} (Debianov paket ${package}")
if(source)
  string(APPEND notes "; izvor: ${source}")
endif()
string(APPEND notes "). Licenca: ${licence}. Podrobnosti: ${DETAILS}")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{TMPDIR} "${WORK}")
execute_process(COMMAND "${CLUES}" ${KIND} ${INPUT} ${INPUT2} "${OUTPUT}" "${NAME}" "${author}"
                        "${notes}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE made ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vrk3clues ${KIND} failed: ${errors}")
endif()
string(STRIP "${made}" made)
message(STATUS "${NAME}: ${made}")
file(REMOVE_RECURSE "${WORK}")
