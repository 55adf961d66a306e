# Several pushhost processes share one data folder at once, as the host
# product's processes share a profile: each installs applications of its own,
# and afterwards the application file must hold every one of them.
#
#   PUSHHOST, EMULATOR, WINDOWS, DATA as for runpushhost.cmake
if(WRITER)
  # One of the writers: pushhost's output stays here, so that no writer
  # writes into the pipe of one that has already ended.
  execute_process(COMMAND ${EMULATOR} "${PUSHHOST}" ${WRITER} OUTPUT_VARIABLE out
    ERROR_VARIABLE out RESULT_VARIABLE status)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "pushhost ${WRITER} ended with '${status}':\n${out}")
  endif()
  return()
endif()
set(processes 3)
set(apps 150)

file(REMOVE_RECURSE "${DATA}")
file(MAKE_DIRECTORY "${DATA}")
if(WINDOWS)
  # The profile's documents folder: emptied by a first run of its own, as the
  # writers must not empty it under each other.
  file(WRITE "${DATA}/empty.jsonl" "# nothing\n")
  string(REPLACE "/" "\\" empty "Z:${DATA}/empty.jsonl")
  execute_process(COMMAND ${EMULATOR} "${PUSHHOST}" run --clean "${empty}" RESULT_VARIABLE status)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "emptying the data folder ended with '${status}'")
  endif()
  set(data_args "")
else()
  set(data_args --data "${DATA}")
endif()

# Started together: execute_process runs its commands at the same time, as a
# pipeline of writers that write nothing into it.
set(commands "")
foreach(process RANGE 1 ${processes})
  set(text "")
  foreach(app RANGE 1 ${apps})
    math(EXPR appId "${process} * 1000 + ${app}")
    string(APPEND text "{\"do\":\"installApp\",\"appId\":${appId}}\n")
  endforeach()
  file(WRITE "${DATA}/install${process}.jsonl" "${text}")
  set(scenario "${DATA}/install${process}.jsonl")
  if(WINDOWS)
    string(REPLACE "/" "\\" scenario "Z:${scenario}")
  endif()
  string(REPLACE ";" "\\;" writer "run;${data_args};${scenario}")
  list(APPEND commands COMMAND ${CMAKE_COMMAND} "-DPUSHHOST=${PUSHHOST}" "-DEMULATOR=${EMULATOR}"
    "-DWRITER=${writer}" -P "${CMAKE_CURRENT_LIST_FILE}")
endforeach()
execute_process(${commands} RESULTS_VARIABLE statuses OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
foreach(status IN LISTS statuses)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "a writer ended with '${status}' (all: ${statuses})")
  endif()
endforeach()

if(WINDOWS)
  set(prefix "$ENV{WINEPREFIX}")
  if(NOT prefix)
    set(prefix "$ENV{HOME}/.wine")
  endif()
  file(GLOB files "${prefix}/drive_c/users/*/Documents/Corvane Files/Halyx/hyappinfo.json")
else()
  set(files "${DATA}/Documents/Corvane Files/Halyx/hyappinfo.json")
endif()
list(LENGTH files found)
if(NOT found EQUAL 1)
  message(FATAL_ERROR "no single application file: '${files}'")
endif()
file(READ "${files}" content)
math(EXPR wanted "${processes} * ${apps}")
foreach(member texts numbers)
  string(JSON kept LENGTH "${content}" ${member})
  if(NOT kept EQUAL wanted)
    message(FATAL_ERROR "${kept} of ${wanted} applications kept in \"${member}\"")
  endif()
endforeach()
