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

# Statuses and messages: 2 for input that cannot run, with the reason.
file(WRITE "${DATA}/expect.jsonl" "{\"do\":\"init\",\"expect\":\"notanobject\"}\n")
file(WRITE "${DATA}/big.jsonl" "{\"do\":\"signIn\",\"user\":12345678901234567890123456}\n")
file(WRITE "${DATA}/column.jsonl" "\n{\"do\": }\n")
file(WRITE "${DATA}/d/Documents/Corvane Files/Halyx/5/dynmsg.db" "not a database at all")
check(2 "the scenario \\. is a folder" ${PUSHHOST} run --data d .)
check(2 "nothere.jsonl: No such file or directory" ${PUSHHOST} run --data d nothere.jsonl)
check(2 "expect.jsonl:1: error: \"expect\" must be a JSON object" ${PUSHHOST} run --data d expect.jsonl)
check(2 "must be an unsigned 32-bit number, got a number beyond 64 bits" ${PUSHHOST} run --data d big.jsonl)
check(2 "column.jsonl:2: error: not a JSON line: .* at column 8" ${PUSHHOST} run --data d column.jsonl)
check(0 "dynmsg.db\n  \\(cannot open it: the file is not a database\\)" ${PUSHHOST} inspect --data d --user 5)
check(2 "cannot load the library ${DATA}/nobin/pushcenterwrapper.dll: cannot open shared object"
  ${CMAKE_COMMAND} -E env HalyxBinPath=${DATA}/nobin ${PUSHHOST} demo --data d)

# The command line: help on stdout with 0, mistakes on stderr with 2 and a
# hint, misspelt names answered with the name meant.
file(WRITE "${DATA}/export.jsonl" "{\"call\":\"PushClearMsgs\",\"kind\":3}\n")
check(2 "^usage: pushhost run .*Exit status" ${PUSHHOST})
check(0 "^pushhost [0-9]+\\.[0-9]+\\.[0-9]+\n$" ${PUSHHOST} --version)
check(0 "^usage: pushhost run .*--verbose " ${PUSHHOST} help run)
check(0 "^usage: pushhost inspect .*--user N" ${PUSHHOST} inspect --help)
check(0 "installApp +appId needPush name\n.*PushClearMsg +kind\n" ${PUSHHOST} help steps)
check(2 "no help on \"stpes\" \\(did you mean \"steps\"\\?\\)" ${PUSHHOST} help stpes)
check(2 "unknown command \"rnu\" \\(did you mean \"run\"\\?\\)\nTry 'pushhost help'\\.\n$" ${PUSHHOST} rnu x)
check(2 "^pushhost: --data needs a value\nTry 'pushhost help run'\\.\n$" ${PUSHHOST} run --data)
check(2 "--data needs a value" ${PUSHHOST} run --data --clean settings.jsonl)
check(2 "unknown option \"--dta\" for run \\(did you mean \"--data\"\\?\\)" ${PUSHHOST} run --dta d x)
check(2 "--clean takes no value" ${PUSHHOST} run --clean=yes settings.jsonl)
check(2 "unexpected argument \"b\"" ${PUSHHOST} run a b)
check(2 "--user wants a user number" ${PUSHHOST} inspect --data d --user 99999999999999999999)
check(0 "1 steps run" ${PUSHHOST} run --data=d -- settings.jsonl)
check(2 "unknown export \"PushClearMsgs\" \\(did you mean \"PushClearMsg\"\\?\\)"
  ${PUSHHOST} run --data d export.jsonl)
file(WRITE "${DATA}/misspelt.jsonl" "{\"do\":\"sigIn\",\"user\":3}\n")
execute_process(COMMAND ${PUSHHOST} run --data d - WORKING_DIRECTORY "${DATA}"
  INPUT_FILE "${DATA}/misspelt.jsonl" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE got)
if(NOT got STREQUAL "2" OR NOT err MATCHES "stdin:1: error: unknown step \"sigIn\" \\(did you mean \"signIn\"")
  string(APPEND failures "\nrun - with a misspelt step: wanted 2, got ${got}: ${out}${err}")
endif()

# A new profile gets the client's first-run settings, once, unless --bare;
# inspect reads the user who signed in last.
file(WRITE "${DATA}/push.jsonl" "{\"do\":\"signIn\",\"user\":8001}\n{\"do\":\"installApp\",\"appId\":7}\n"
  "{\"do\":\"init\"}\n{\"do\":\"push\",\"records\":[{\"kind\":\"dynamic\",\"appId\":7,\"msgId\":1,"
  "\"payload\":{\"TEXT\":\"x\"}},{\"kind\":\"system\",\"appId\":0,\"msgId\":2,\"payload\":{\"TEXT\":\"y\"}}]}\n"
  "{\"call\":\"PushGetMsgCountByType\",\"kind\":1,\"expect\":{\"result\":1}}\n"
  "{\"call\":\"PushGetMsgCountByType\",\"kind\":3,\"expect\":{\"result\":1}}\n")
check(0 "2 of 2 expectations met\npushhost: a new profile: wrote the client's first-run settings"
  ${PUSHHOST} run --data fresh push.jsonl)
check(0 "^[^\n]*2 of 2 expectations met\n$" ${PUSHHOST} run --data fresh push.jsonl)
check(0 "Databases of user 8001 in ${DATA}/fresh/" ${PUSHHOST} inspect --data fresh)
check(0 "^{\"user\":8001,\"folder\":\"${DATA}/fresh/Documents/Corvane Files/Halyx/8001/\",\"databases\":\\[.*\\]}\n$"
  ${PUSHHOST} inspect --data=fresh --json)
check(1 "0 of 2 expectations met" ${PUSHHOST} run --data bare --bare push.jsonl)
check(2 "no user is signed in, and none has signed in in this data folder"
  ${PUSHHOST} inspect --data empty)

# Output that cannot be written fails the run; the demo's own folder goes
# even when its reader stops reading early.
execute_process(COMMAND ${PUSHHOST} run --data d --verbose settings.jsonl WORKING_DIRECTORY "${DATA}"
  OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULT_VARIABLE got)
if(NOT got STREQUAL "2" OR NOT err MATCHES "output could not be written")
  string(APPEND failures "\nrun into a full disk: wanted 2, got ${got}: ${err}")
endif()
file(MAKE_DIRECTORY "${DATA}/tmp")
execute_process(COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${DATA}/tmp ${PUSHHOST} demo
  COMMAND head -c 1 OUTPUT_QUIET ERROR_QUIET RESULTS_VARIABLE got)
file(GLOB left "${DATA}/tmp/*")
if(NOT got MATCHES "^[02];0$" OR left)
  string(APPEND failures "\ndemo | head: statuses ${got}, left behind: ${left}")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
