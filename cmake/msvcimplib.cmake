# cmake -DDLLTOOL= -DAR= -DOBJCOPY= -DMACHINE= -DDEF= -DOUT_DIR= -P msvcimplib.cmake
#
# Makes pushcenterwrapper.lib in OUT_DIR from the export list DEF with the
# binutils dlltool. On 32-bit x86 every member is then marked safe for SEH
# (the absolute symbol @feat.00 = 1), as MSVC's own objects are: its linker
# refuses a member without the mark when an image is linked with /SAFESEH,
# the default of 32-bit projects.
set(lib pushcenterwrapper.lib)
execute_process(
  COMMAND ${DLLTOOL} --no-leading-underscore -m ${MACHINE} -d ${DEF} -D pushcenterwrapper.dll -l ${lib}
  WORKING_DIRECTORY ${OUT_DIR} COMMAND_ERROR_IS_FATAL ANY)
if(NOT MACHINE STREQUAL "i386")
  return()
endif()
set(work ${OUT_DIR}/pushcenterwrapper.lib.members)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${AR} t ${OUT_DIR}/${lib} OUTPUT_VARIABLE members
  COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "\n$" "" members "${members}")
string(REPLACE "\n" ";" members "${members}")
execute_process(COMMAND ${AR} x ${OUT_DIR}/${lib} WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
foreach(member IN LISTS members)
  execute_process(COMMAND ${OBJCOPY} --add-symbol @feat.00=1,local ${member}
    WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE ${OUT_DIR}/${lib})
execute_process(COMMAND ${AR} rcs ${OUT_DIR}/${lib} ${members}
  WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${work})
