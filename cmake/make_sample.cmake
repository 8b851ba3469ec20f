# Builds the sample dictionary from resources/sample/slovar.csv with the
# tool, as `cmake -P` with TOOL, SOURCE (UTF-8 CSV), WORK (a scratch folder)
# and OUTPUT. The tool reads CSV as Windows-1250, so the text is converted
# first; the settings the tool reads are kept in WORK, never the builder's.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
set(ENV{VRK3_SETTINGS_DIR} "${WORK}/settings")
set(ENV{TMPDIR} "${WORK}")
execute_process(COMMAND iconv -f UTF-8 -t CP1250 "${SOURCE}"
                OUTPUT_FILE "${WORK}/slovar.csv" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "iconv could not convert ${SOURCE}")
endif()
execute_process(COMMAND "${TOOL}" create "${WORK}/Vzorec.vrk3" --name "Vzorčni slovar"
                        --author "Verbatrakon" --notes "Slovar za preizkus programa." --flags 6
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(rc EQUAL 0)
  execute_process(COMMAND "${TOOL}" import csv "${WORK}/slovar.csv" "${WORK}/Vzorec.vrk3"
                  OUTPUT_QUIET RESULT_VARIABLE rc)
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vrk3tool could not make the sample dictionary")
endif()
file(COPY_FILE "${WORK}/Vzorec.vrk3" "${OUTPUT}")
file(REMOVE_RECURSE "${WORK}")
