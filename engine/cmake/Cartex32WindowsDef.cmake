# Writes the module-definition file the Windows DLL is linked with, at build
# time, from the configured cartex32.def (every name of exports.txt) and the
# symbols the engine's objects define. Each export is an alias of its
# __stdcall symbol ("paselong = paselong@8"), so the DLL exports the plain
# name and no decorated one. A listed name that is defined without the @n
# of __stdcall stops the build: hosts would unbalance their stack on it.
# Listed names no object defines yet are left out.
#
#   cmake -DNM=... -DDEF_IN=... -DOBJECT_LIST=... -DOUTPUT=... -P this file

cmake_minimum_required(VERSION 3.25)

file(STRINGS "${OBJECT_LIST}" objects)
execute_process(COMMAND "${NM}" --defined-only --extern-only ${objects}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on the engine's objects")
endif()

string(REPLACE "\n" ";" symbol_lines "${symbols}")
set(stdcall_names "")
set(plain_names "")
foreach(line IN LISTS symbol_lines)
  # i686 COFF: code symbols carry a leading underscore.
  if(line MATCHES " T _([A-Za-z_][A-Za-z0-9_]*)@([0-9]+)$")
    list(APPEND stdcall_names "${CMAKE_MATCH_1}")
    set("bytes_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
  elseif(line MATCHES " T _([A-Za-z_][A-Za-z0-9_]*)$")
    list(APPEND plain_names "${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS "${DEF_IN}" def_lines)
set(def "; Generated from cartex32.def and the engine's objects; do not edit.\n")
set(in_exports FALSE)
foreach(line IN LISTS def_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "EXPORTS")
    set(in_exports TRUE)
    string(APPEND def "EXPORTS\n")
  elseif(NOT in_exports OR line MATCHES "^;")
    if(NOT line MATCHES "^;")
      string(APPEND def "${line}\n")
    endif()
  elseif(line IN_LIST stdcall_names)
    string(APPEND def "  ${line} = ${line}@${bytes_${line}}\n")
  elseif(line IN_LIST plain_names)
    message(FATAL_ERROR "${line} is defined without __stdcall (declare it with CX_EXPORT)")
  endif()
endforeach()

file(WRITE "${OUTPUT}.tmp" "${def}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
