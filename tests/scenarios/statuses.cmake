# pushhost off the happy path: every case is a command line (run in DATA, a
# folder emptied first), the status it must end with and a pattern that its
# output must match. Every case runs; the failures are reported together.
#
#   PUSHHOST     the program (Linux builds: the cases use Linux paths)
#   SCENARIOS    the folder of the scenarios
#   DATA         a folder of this test's own
file(REMOVE_RECURSE "${DATA}")
file(MAKE_DIRECTORY "${DATA}/blocked")
file(WRITE "${DATA}/blocked/Documents" "a file where the documents folder belongs")
file(WRITE "${DATA}/settings.jsonl" "{\"do\":\"setRoamNumber\",\"id\":11,\"value\":1}\n")
set(failures "")

# check(<status> <regex> <command...>)
function(check status regex)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${DATA}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE got)
  if(NOT got STREQUAL status OR NOT "${out}${err}" MATCHES "${regex}")
    string(REPLACE ";" " " line "${ARGN}")
    set(failures "${failures}\n${line}\n  wanted ${status} and /${regex}/, got ${got}:\n${out}${err}"
      PARENT_SCOPE)
  endif()
endfunction()

set(host "${SCENARIOS}/host.jsonl")
# A relative data folder is the one under the working folder.
check(0 "Data folder: ${DATA}/rel/Documents/Corvane Files/Halyx/\n" ${PUSHHOST} demo --data rel)
check(0 "1 steps run" ${PUSHHOST} run --data ./d settings.jsonl)
if(NOT EXISTS "${DATA}/d/Documents/Corvane Files/Halyx/setting.json")
  string(APPEND failures "\nrun --data ./d wrote no settings under ${DATA}/d")
endif()
check(0 "steps run" ${PUSHHOST} run --data ./d --clean settings.jsonl)
# A data folder that cannot be used stops the run before anything runs.
check(2 "cannot create the data folder ${DATA}/blocked/Documents/Corvane Files/Halyx/: "
  ${PUSHHOST} run --data blocked ${host})
check(2 "documents folder is unknown: HOME is unset"
  ${CMAKE_COMMAND} -E env --unset=HOME --unset=XDG_DOCUMENTS_DIR ${PUSHHOST} run ${host})
check(2 "documents folder is unknown" ${CMAKE_COMMAND} -E env HOME=relative ${PUSHHOST} inspect)

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
