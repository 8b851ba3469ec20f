# The start of a script that makes a dictionary at build time with vrk3tool
# (resources/words), run as `cmake -P`.
#   vrk3_start_dictionary(TOOL WORK DICT NAME AUTHOR NOTES)
# empties the scratch folder WORK, where the settings and scratch files of
# vrk3tool are kept from now on (never the builder's), and makes the empty
# dictionary DICT with NAME, AUTHOR and NOTES; its flags allow export and
# forbid changes. Fails when the tool cannot make it.
function(vrk3_start_dictionary tool work dict name author notes)
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}/settings")
  set(ENV{VRK3_SETTINGS_DIR} "${work}/settings")
  set(ENV{TMPDIR} "${work}")
  execute_process(COMMAND "${tool}" create "${dict}" --name "${name}" --author "${author}"
                          --notes "${notes}" --flags 4
                  OUTPUT_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "vrk3tool could not create ${dict}")
  endif()
endfunction()
