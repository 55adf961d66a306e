# Runs pushhost once in a data folder of its own and judges the run.
#
#   PUSHHOST     the program; EMULATOR runs it when set (Wine for Windows builds)
#   DATA         the data folder, emptied first
#   MODE         run or demo; SCENARIO is the file that run gets
#   EXPECT_FAIL  ON when the run must end with a non-zero status
#   EXPECT_FILE  a file whose lines "# expect: REGEX" must all match the output
file(REMOVE_RECURSE "${DATA}")
file(MAKE_DIRECTORY "${DATA}")
set(data_arg "${DATA}")
if(EMULATOR)
  # A Windows program takes the folder as a Windows path of Wine's Z: drive.
  string(REPLACE "/" "\\" data_arg "Z:${DATA}")
endif()
set(args ${MODE} --data "${data_arg}")
if(MODE STREQUAL "run")
  list(APPEND args --verbose "${SCENARIO}")
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
