# Makes the dictionaries of descriptions ("Slovenske sopomenke", "Slovenski
# pojmi") by one run of vrk3clues, which makes each on a thread of its own,
# as `cmake -P` with
#   CLUES      vrk3clues, which reads the sources and writes the dictionaries
#   DETAILS    the installed copyright file of this program, named in the notes
#   WORK       a scratch folder
# and, for each dictionary to make (KIND THESAURUS or NAMES; a dictionary
# whose KIND_OUTPUT is not given is not made):
#   KIND_INPUT, KIND_INPUT2  its inputs: the thesaurus file, or the folders
#              of the iso-codes lists and of their Slovene catalogues
#   KIND_PACKAGE    the Debian package the data comes from
#   KIND_COPYRIGHT  its Debian copyright file, which names the authors and licence
#   KIND_FILES      the Files line of the paragraph that covers the data
#   KIND_NAME       the dictionary's name
#   KIND_ABOUT      what the notes say the entries are, before the source
#   KIND_OUTPUT     the dictionary to write
# Author and notes name the source and its licence; the flags allow export
# and forbid changes (vrk3clues). The scratch files of the store are kept in
# WORK. Each output is replaced only by a complete dictionary.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/debian_copyright.cmake")

set(jobs "")
set(names "")
foreach(kind THESAURUS NAMES)
  if(NOT DEFINED ${kind}_OUTPUT)
    continue()
  endif()
  vrk3_debian_copyright("${${kind}_COPYRIGHT}" "${${kind}_FILES}" author licence source)
  vrk3_debian_package(${${kind}_PACKAGE} package)
  set(notes "${${kind}_ABOUT} (Debianov paket ${package}")
  if(source)
    string(APPEND notes "; izvor: ${source}")
  endif()
  string(APPEND notes "). Licenca: ${licence}. Podrobnosti: ${DETAILS}")
  # Each text one argument, also where it holds ";".
  string(TOLOWER ${kind} job)
  list(APPEND jobs ${job} ${${kind}_INPUT} ${${kind}_INPUT2})
  foreach(text "${${kind}_OUTPUT}" "${${kind}_NAME}" "${author}" "${notes}")
    string(REPLACE ";" "\\;" text "${text}")
    list(APPEND jobs "${text}")
  endforeach()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{TMPDIR} "${WORK}")
execute_process(COMMAND "${CLUES}" ${jobs}
                RESULT_VARIABLE rc OUTPUT_VARIABLE made ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vrk3clues failed: ${errors}")
endif()
string(STRIP "${made}" made)
string(REPLACE "\n" "\n-- " made "${made}")
message(STATUS "${made}")
file(REMOVE_RECURSE "${WORK}")
