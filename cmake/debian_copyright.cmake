# Reads the authors, licence and source of a data file from a Debian
# copyright file, for the author and notes of a dictionary made from it.
#   vrk3_debian_copyright(FILE FILES_LINE AUTHOR LICENCE SOURCE)
# takes the paragraph whose "Files:" line is FILES_LINE and sets AUTHOR (its
# copyright holders without their mail addresses, divided by "; "), LICENCE
# (its "License:" line) and SOURCE (the file's "Source:" line, may be empty).
# Fails when the paragraph is missing or names no holder or no licence.
function(vrk3_debian_copyright file files_line author_var licence_var source_var)
  file(READ "${file}" copyright)
  string(REPLACE "*" "\\*" pattern "${files_line}")
  string(REGEX MATCH "Files:[ \t]*${pattern}\n(([^\n]+\n)*)" paragraph "${copyright}")
  if(NOT paragraph)
    message(FATAL_ERROR "${file} has no paragraph for ${files_line}")
  endif()
  set(paragraph "${CMAKE_MATCH_1}")
  # Copyright: its first line and the indented lines that follow it.
  string(REGEX MATCH "Copyright:[ \t]*([^\n]*)\n(([ \t][^\n]*\n)*)" holders "${paragraph}")
  string(REGEX REPLACE "\n[ \t]*" ";" holders "${CMAKE_MATCH_1}\n${CMAKE_MATCH_2}")
  string(REGEX MATCH "License:[ \t]*([^\n]*)" licence "${paragraph}")
  set(licence "${CMAKE_MATCH_1}")
  string(REGEX MATCH "Source:[ \t]*([^\n]*)" source "${copyright}")
  set(source "${CMAKE_MATCH_1}")
  set(author "")
  foreach(holder IN LISTS holders)
    # Names without their mail addresses or the copyright sign.
    string(REGEX REPLACE "[ \t]*<[^>]*>" "" holder "${holder}")
    string(REGEX REPLACE "^©[ \t]*" "" holder "${holder}")
    string(STRIP "${holder}" holder)
    if(holder)
      if(author)
        string(APPEND author "; ")
      endif()
      string(APPEND author "${holder}")
    endif()
  endforeach()
  if(NOT author OR NOT licence)
    message(FATAL_ERROR "${file} names no authors or no licence for ${files_line}")
  endif()
  set(${author_var} "${author}" PARENT_SCOPE)
  set(${licence_var} "${licence}" PARENT_SCOPE)
  set(${source_var} "${source}" PARENT_SCOPE)
endfunction()

# "PACKAGE VERSION" as dpkg knows it installed, or PACKAGE alone.
function(vrk3_debian_package package out_var)
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                  OUTPUT_VARIABLE version RESULT_VARIABLE rc ERROR_QUIET)
  if(rc EQUAL 0 AND version)
    set(${out_var} "${package} ${version}" PARENT_SCOPE)
  else()
    set(${out_var} "${package}" PARENT_SCOPE)
  endif()
endfunction()
