# Runs pushhost once in a data folder of its own and judges the run.
#
#   PUSHHOST     the program; EMULATOR runs it when set (Wine for Windows builds,
#                qemu-i386 for linux-i686)
#   WINDOWS      ON when the program is a Windows program
#   DATA         the data folder, emptied first (not for a Windows program)
#   MODE         run or demo; SCENARIO is the file that run gets
#   EXPECT_FAIL  ON when the run must end with a non-zero status
#   EXPECT_FILE  a file whose lines "# expect: REGEX" must all match the output
if(WINDOWS)
  # Windows keeps the data in the profile's documents folder, which no option
  # moves: a scenario empties the data root first, the demo its own user.
  set(args ${MODE})
  if(MODE STREQUAL "run")
    list(APPEND args --clean)
  endif()
else()
  file(REMOVE_RECURSE "${DATA}")
  file(MAKE_DIRECTORY "${DATA}")
  set(args ${MODE} --data "${DATA}")
endif()
if(MODE STREQUAL "run")
  set(scenario_arg "${SCENARIO}")
  if(WINDOWS)
    # A Windows program takes the file as a path of Wine's Z: drive.
    string(REPLACE "/" "\\" scenario_arg "Z:${SCENARIO}")
  endif()
  list(APPEND args --verbose "${scenario_arg}")
endif()
execute_process(COMMAND ${EMULATOR} "${PUSHHOST}" ${args}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
set(output "${out}${err}")
message("${output}")
if(EXPECT_FAIL)
  if(status STREQUAL "0" OR NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "pushhost should have failed with a status, got '${status}'")
  endif()
elseif(NOT status STREQUAL "0")
  message(FATAL_ERROR "pushhost ended with '${status}'")
endif()
if(EXPECT_FILE)
  file(STRINGS "${EXPECT_FILE}" expectations REGEX "^# expect: ")
  foreach(line IN LISTS expectations)
    string(REGEX REPLACE "^# expect: " "" regex "${line}")
    if(NOT output MATCHES "${regex}")
      message(FATAL_ERROR "the output does not match: ${regex}")
    endif()
  endforeach()
endif()
