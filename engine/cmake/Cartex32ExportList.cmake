# Writes, or checks, the list in engine/README.md of the interface map's
# names the built library provides: each group of exports.txt with the
# names of it the library exports, then the library's own additions. The
# list sits between the two marker lines below and is never edited by hand.
#
#   cmake -DMODE=write|check -DEXPORTS=exports.txt -DNM=nm -DLIBRARY=libcartex32.so
#         -DREADME=engine/README.md [-DREGENERATE=command] -P this file
#
# check fails, naming the command that rewrites the list, when README's
# list differs from the one the library gives.

cmake_minimum_required(VERSION 3.25)

set(begin_marker "<!-- export list: generated from exports.txt and the built library -->")
set(end_marker "<!-- end of the export list -->")
if(NOT REGENERATE)
  set(REGENERATE "cmake --build build --target cartex32_export_list")
endif()

# The names the library exports: defined dynamic symbols.
execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" symbol_lines "${symbols}")
set(provided "")
foreach(line IN LISTS symbol_lines)
  if(line MATCHES " [A-Za-z] ([A-Za-z_][A-Za-z0-9_]*)$")
    list(APPEND provided "${CMAKE_MATCH_1}")
  endif()
endforeach()

# The groups of exports.txt: a comment line right before a run of names
# titles it.
file(STRINGS "${EXPORTS}" lines)
set(groups "")
set(title "")
set(in_run FALSE)
set(map_total 0)
set(map_provided 0)
set(added "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    set(in_run FALSE)
  elseif(line MATCHES "^#[ ]*(.*)$")
    set(title "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "[.:]$" "" title "${title}")
    set(in_run FALSE)
  elseif(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)[ \t]+[a-z]+([ \t]+added)?$")
    set(name "${CMAKE_MATCH_1}")
    if(CMAKE_MATCH_2)
      if(name IN_LIST provided)
        list(APPEND added "`${name}`")
      endif()
      continue()
    endif()
    if(NOT in_run)
      list(LENGTH groups n)
      set(group "g${n}")
      list(APPEND groups ${group})
      set(${group}_title "${title}")
      set(${group}_total 0)
      set(${group}_names "")
      set(in_run TRUE)
    endif()
    math(EXPR ${group}_total "${${group}_total} + 1")
    math(EXPR map_total "${map_total} + 1")
    if(name IN_LIST provided)
      list(APPEND ${group}_names "`${name}`")
      math(EXPR map_provided "${map_provided} + 1")
    endif()
  endif()
endforeach()

set(list_text "${begin_marker}\n")
string(APPEND list_text
       "This version provides ${map_provided} of the ${map_total} names of the interface map:\n\n")
foreach(group IN LISTS groups)
  list(LENGTH ${group}_names count)
  string(APPEND list_text "- ${${group}_title} (${count} of ${${group}_total})")
  if(count GREATER 0)
    list(JOIN ${group}_names ", " names)
    string(APPEND list_text ": ${names}")
  endif()
  string(APPEND list_text "\n")
endforeach()
if(added)
  list(JOIN added ", " names)
  string(APPEND list_text "\nAnd the library's own additions for hosts: ${names}.\n")
endif()
string(APPEND list_text "${end_marker}")

file(READ "${README}" readme)
string(FIND "${readme}" "${begin_marker}" begin_at)
string(FIND "${readme}" "${end_marker}" end_at)
if(begin_at EQUAL -1 OR end_at LESS begin_at)
  message(FATAL_ERROR "${README} has no export list between the marker lines\n"
                      "  ${begin_marker}\n  ${end_marker}")
endif()
string(LENGTH "${end_marker}" end_length)
math(EXPR after_at "${end_at} + ${end_length}")
math(EXPR current_length "${after_at} - ${begin_at}")
string(SUBSTRING "${readme}" ${begin_at} ${current_length} current)

if(MODE STREQUAL "check")
  if(NOT current STREQUAL list_text)
    message(FATAL_ERROR "${README}: the export list differs from what the library exports. "
                        "Rewrite it with\n  ${REGENERATE}\nIt should read:\n${list_text}")
  endif()
elseif(MODE STREQUAL "write")
  if(NOT current STREQUAL list_text)
    string(SUBSTRING "${readme}" 0 ${begin_at} before)
    string(SUBSTRING "${readme}" ${after_at} -1 after)
    file(WRITE "${README}" "${before}${list_text}${after}")
    message(STATUS "Rewrote the export list of ${README}")
  endif()
else()
  message(FATAL_ERROR "MODE must be write or check")
endif()
