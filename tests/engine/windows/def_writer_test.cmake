# The writer of the DLL's link-time .def file, on symbol tables made up for
# the purpose: stdcall symbols become plain-name aliases, listed names no
# object defines are left out, and a listed name defined without __stdcall
# stops the build.
#
#   cmake -DWRITER=.../Cartex32WindowsDef.cmake -DWORK=dir -P this file

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/objects.txt" "a.obj\nb.obj\n")
file(WRITE "${WORK}/cartex32.def"
     "; listed\nLIBRARY cartex32\nEXPORTS\n  paselong\n  set_grid\n  not_yet\n  Init_Adress\n")

function(run_writer symbols result_var)
  file(WRITE "${WORK}/nm" "#!/bin/sh\ncat <<'END'\n${symbols}END\n")
  file(CHMOD "${WORK}/nm" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(REMOVE "${WORK}/link.def")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -DNM=${WORK}/nm -DDEF_IN=${WORK}/cartex32.def
            -DOBJECT_LIST=${WORK}/objects.txt -DOUTPUT=${WORK}/link.def -P "${WRITER}"
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

set(good "a.obj:\n00000000 T _paselong@8\n00000010 T _set_grid@44\n00000020 T _Init_Adress@0\n")
string(APPEND good "00000030 T __ZN2cx5filesEv\n00000040 T _internal_helper\n")
run_writer("${good}" result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the writer failed on stdcall symbols: ${errors}")
endif()
file(READ "${WORK}/link.def" def)
set(expected "LIBRARY cartex32\nEXPORTS\n  paselong = paselong@8\n  set_grid = set_grid@44\n")
string(APPEND expected "  Init_Adress = Init_Adress@0\n")
string(FIND "${def}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "unexpected .def:\n${def}")
endif()
foreach(absent not_yet internal_helper files)
  string(FIND "${def}" "${absent}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${absent} must not be exported:\n${def}")
  endif()
endforeach()

run_writer("a.obj:\n00000000 T _paselong@8\n00000010 T _set_grid\n" result)
if(result EQUAL 0)
  message(FATAL_ERROR "a listed name without __stdcall was let through")
endif()
string(FIND "${errors}" "set_grid is defined without __stdcall" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the refusal does not name the export: ${errors}")
endif()
