# Makes the dictionary "Slovenske besede" from Debian's Slovene spelling
# dictionary, as `cmake -P` with
#   TOOL       vrk3tool
#   UNMUNCH    unmunch (hunspell-tools), which expands DIC by the affix rules of AFF
#   DIC, AFF   the spelling dictionary (hunspell-sl)
#   COPYRIGHT  its Debian copyright file, which names the authors and the licence
#   DETAILS    the installed copyright file of this program, named in the notes
#   WORK       a scratch folder
#   OUTPUT     the dictionary to write
# Author and notes name the source and its licence; the flags allow export
# and forbid changes. The settings the tool reads are kept in WORK, never the
# builder's. OUTPUT is replaced only by a complete dictionary.

# --- Authors and licence of the Slovene word list: the paragraph of the
# copyright file whose Files line names dictionaries/sl_SI/*.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/debian_copyright.cmake")
vrk3_debian_copyright("${COPYRIGHT}" "dictionaries/sl_SI/*" author licence source)
vrk3_debian_package(hunspell-sl package)
set(notes "Besedne oblike iz slovenskega slovarja za črkovanje (Debianov paket ${package}")
if(source)
  string(APPEND notes "; izvor: ${source}")
endif()
string(APPEND notes "), razširjene po njegovih pravilih s programom unmunch. "
                    "Licenca: ${licence}. Podrobnosti: ${DETAILS}")

# The encoding of the expanded words is the spelling dictionary's own.
file(STRINGS "${AFF}" set_line REGEX "^SET[ \t]" LIMIT_COUNT 1)
string(REGEX REPLACE "^SET[ \t]+([^ \t]+).*" "\\1" encoding "${set_line}")
if(NOT encoding)
  set(encoding ISO8859-2)
endif()

# --- The dictionary.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/build_dictionary.cmake")
set(dict "${WORK}/slovenske-besede.vrk3")
vrk3_start_dictionary("${TOOL}" "${WORK}" "${dict}" "Slovenske besede" "${author}" "${notes}")
# unmunch reports on stderr each affix it cannot apply; the words on its
# stdout are what counts.
execute_process(COMMAND "${UNMUNCH}" "${DIC}" "${AFF}"
                COMMAND "${TOOL}" import words - "${dict}" --encoding "${encoding}" --force
                RESULTS_VARIABLE results OUTPUT_VARIABLE summary ERROR_FILE "${WORK}/errors.txt")
if(NOT results STREQUAL "0;0")
  # The tool's message comes last, after unmunch's reports.
  file(SIZE "${WORK}/errors.txt" size)
  set(from 0)
  if(size GREATER 2000)
    math(EXPR from "${size} - 2000")
  endif()
  file(READ "${WORK}/errors.txt" errors OFFSET ${from})
  message(FATAL_ERROR "unmunch | vrk3tool import words failed (${results}):\n${errors}")
endif()
string(REGEX MATCH "words: ([0-9]+) added" added "${summary}")
if(NOT CMAKE_MATCH_1 GREATER 0)
  message(FATAL_ERROR "unmunch gave no words: ${summary}")
endif()
string(STRIP "${summary}" summary)
message(STATUS "Slovenske besede: ${summary}")
file(RENAME "${dict}" "${OUTPUT}")
file(REMOVE_RECURSE "${WORK}")
