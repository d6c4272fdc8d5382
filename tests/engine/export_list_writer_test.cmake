# The writer of engine/README.md's export list, on a made-up exports.txt and
# a made-up symbol table: groups keep their order and count what the library
# provides of them, additions are listed apart, the text around the list is
# kept, and a check of a list that differs fails naming the command that
# rewrites it.
#
#   cmake -DWRITER=.../Cartex32ExportList.cmake -DWORK=dir -P this file

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/exports.txt"
     "# The list.\n# Its rules.\n\n# One\nalpha frame\nbeta frame\n\n# Two:\ngamma session\n\n"
     "# Three\ndelta session\n\n# Additions.\ncx_extra frame added\ncx_missing frame added\n")
file(WRITE "${WORK}/nm"
     "#!/bin/sh\ncat <<'END'\n0010 T alpha\n0020 T gamma\n0030 T cx_extra\n0040 W other\nEND\n")
file(CHMOD "${WORK}/nm" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

set(begin_marker "<!-- export list: generated from exports.txt and the built library -->")
set(end_marker "<!-- end of the export list -->")

function(run_writer mode)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -DMODE=${mode} -DEXPORTS=${WORK}/exports.txt -DNM=${WORK}/nm
            -DLIBRARY=lib.so -DREADME=${WORK}/README.md "-DREGENERATE=make the list" -P "${WRITER}"
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  set(result "${result}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

file(WRITE "${WORK}/README.md" "# Title\n\n${begin_marker}\nold list\n${end_marker}\n\nAfter.\n")
run_writer(write)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the writer failed: ${errors}")
endif()
file(READ "${WORK}/README.md" readme)
set(expected "# Title\n\n${begin_marker}\n")
string(APPEND expected "This version provides 2 of the 4 names of the interface map:\n\n"
       "- One (1 of 2): `alpha`\n- Two (1 of 1): `gamma`\n- Three (0 of 1)\n\n"
       "And the library's own additions for hosts: `cx_extra`.\n${end_marker}\n\nAfter.\n")
if(NOT readme STREQUAL expected)
  message(FATAL_ERROR "unexpected README:\n${readme}\nexpected:\n${expected}")
endif()

run_writer(check)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the check refused the list just written: ${errors}")
endif()

string(REPLACE "`gamma`" "`gamma`, `delta`" stale "${readme}")
file(WRITE "${WORK}/README.md" "${stale}")
run_writer(check)
if(result EQUAL 0)
  message(FATAL_ERROR "the check let a list naming an unprovided export through")
endif()
string(FIND "${errors}" "make the list" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the refusal does not say how to rewrite the list: ${errors}")
endif()

file(WRITE "${WORK}/README.md" "# Title without a list\n")
run_writer(write)
if(result EQUAL 0)
  message(FATAL_ERROR "a README without the marker lines was written to")
endif()
file(READ "${WORK}/README.md" readme)
if(NOT readme STREQUAL "# Title without a list\n")
  message(FATAL_ERROR "a refused write changed the README: ${readme}")
endif()
