# Turns a program's --help and --version into a manual page (roff), so the
# page never drifts from the program. Run in script mode:
#   cmake -DPROGRAM=path -DNAME=name -DOUTPUT=page.1 -P help2man.cmake
#
# The help text is read as Qt's QCommandLineParser writes it: a "Usage:" line,
# a description, then sections ("Options:", "Arguments:", "Files:", ...) whose
# entries are indented two spaces, with the explanation after a gap of two or
# more spaces and continuation lines indented further.

cmake_policy(VERSION 3.25)

foreach(var PROGRAM NAME OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "help2man.cmake: ${var} not set")
  endif()
endforeach()

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE help_rc
                ERROR_VARIABLE help_err)
if(NOT help_rc EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "help2man.cmake: '${PROGRAM} --help' failed (${help_rc}): ${help_err}")
endif()
execute_process(COMMAND "${PROGRAM}" --version OUTPUT_VARIABLE version RESULT_VARIABLE version_rc)
if(NOT version_rc EQUAL 0)
  message(FATAL_ERROR "help2man.cmake: '${PROGRAM} --version' failed (${version_rc})")
endif()
# The first line is "name version"; a program may add more below it.
string(REGEX REPLACE "\n.*" "" version "${version}")
string(STRIP "${version}" version)

# roff: backslashes, hyphens (minus signs in options) and a leading dot or
# quote, which would read as a request.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Options in bold, their values in italics.
function(roff_term text out)
  roff_escape("${text}" text)
  string(REGEX REPLACE "(^|[ ,\\[|])((\\\\-)+[A-Za-z0-9][A-Za-z0-9\\\\-]*)" "\\1\\\\fB\\2\\\\fR" text "${text}")
  string(REGEX REPLACE "<([^>]+)>" "\\\\fI\\1\\\\fR" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Lines as a list; a ";" in the text must survive the list.
string(REPLACE ";" "@SEMICOLON@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(synopsis "")
set(description "")
set(sections "")
set(state description)
set(paragraph_pending FALSE)
foreach(line IN LISTS lines)
  string(REPLACE "@SEMICOLON@" ";" line "${line}")
  if(line MATCHES "^Usage: *[^ ]+(.*)$")
    string(STRIP "${CMAKE_MATCH_1}" rest)
    roff_term("${rest}" rest)
    set(synopsis ".B ${NAME}\n${rest}\n")
  elseif(line MATCHES "^([A-Z][A-Za-z ]*):$")
    string(TOUPPER "${CMAKE_MATCH_1}" heading)
    string(APPEND sections ".SH ${heading}\n")
    set(state section)
  elseif(line STREQUAL "")
    # A paragraph break, written once the next paragraph begins.
    if(state STREQUAL "description" AND NOT description STREQUAL "")
      set(paragraph_pending TRUE)
    endif()
  elseif(state STREQUAL "section" AND line MATCHES "^(  +|\t)([^ ].*)$")
    set(entry "${CMAKE_MATCH_2}")
    if(line MATCHES "^     ")
      # Continuation of the entry above.
      string(STRIP "${line}" more)
      roff_escape("${more}" more)
      string(APPEND sections "${more}\n")
    elseif(entry MATCHES "^(.*[^ ])  +([^ ].*)$")
      roff_term("${CMAKE_MATCH_1}" term)
      roff_escape("${CMAKE_MATCH_2}" text)
      string(APPEND sections ".TP\n${term}\n${text}\n")
    else()
      roff_term("${entry}" term)
      string(APPEND sections ".TP\n${term}\n")
    endif()
  elseif(state STREQUAL "section")
    string(STRIP "${line}" text)
    roff_escape("${text}" text)
    string(APPEND sections ".PP\n${text}\n")
  else()
    roff_escape("${line}" text)
    if(paragraph_pending)
      string(APPEND description ".PP\n")
      set(paragraph_pending FALSE)
    endif()
    string(APPEND description "${text}\n")
  endif()
endforeach()

# NAME: the description's first clause.
string(REGEX REPLACE "\n.*" "" first "${description}")
string(REGEX REPLACE "(: |\\. ).*" "" summary "${first}")
string(REGEX REPLACE "\\.$" "" summary "${summary}")
string(TOUPPER "${NAME}" upper)

file(WRITE "${OUTPUT}"
  ".\\\" Generated from '${NAME} --help'; edit the program's help, not this page.\n"
  ".TH ${upper} 1 \"\" \"${version}\" \"User Commands\"\n"
  ".SH NAME\n${NAME} \\- ${summary}\n"
  ".SH SYNOPSIS\n${synopsis}"
  ".SH DESCRIPTION\n${description}"
  "${sections}")
