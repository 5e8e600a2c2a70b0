# cmake -DCLI=<qz-cli> -DTEMPLATE=<qz-cli.1.in> -DOUTPUT=<qz-cli.1> -DVERSION=<x.y.z> -P make_man_page.cmake
# Fills the man page's COMMANDES section with the --help text of each qz-cli
# command, as preformatted roff, so the page always lists the real options.
cmake_minimum_required(VERSION 3.25)

# The commands, in the order the main help lists them.
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE main RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed (${rc})")
endif()
string(REGEX MATCH "(Commandes|[Ss]ubcommands):\n(.*)" block "${main}")
string(REGEX MATCHALL "\n  ([a-z]+)" lines "\n${CMAKE_MATCH_2}")
set(commands)
foreach(line IN LISTS lines)
  string(STRIP "${line}" name)
  list(APPEND commands ${name})
endforeach()
if(NOT commands)
  message(FATAL_ERROR "no command found in the help of ${CLI}")
endif()

# Text shown as is: backslashes doubled, and a line starting with a dot or an
# apostrophe protected so roff does not read it as a request.
function(roff_literal text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(section "")
foreach(name IN LISTS commands)
  execute_process(COMMAND ${CLI} ${name} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} ${name} --help failed (${rc})")
  endif()
  roff_literal("${help}" help)
  string(APPEND section ".SS ${name}\n.nf\n.ft CR\n${help}\n.ft R\n.fi\n")
endforeach()

string(TIMESTAMP DATE "%Y-%m-%d" UTC)
file(READ ${TEMPLATE} page)
string(REPLACE "@COMMANDS@\n" "${section}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@DATE@" "${DATE}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
