# The library's exports have one list, cmake/exports.txt: one export a line,
# its Windows name, then, for the one export with C++ linkage, its name on ELF
# systems. Adding an export is a line there and its declaration in
# pushcenterwrapper.h. From the list the configure step writes
#   exports.def   the DLL's export table (the C++ name mapped to its symbol);
#   exports.map   the version script that lets only these names out of the .so;
#   pcwexportlist.h  PCW_EXPORT_LIST(X), X(identifier, Windows name, ELF name)
#                 for each export, from which hosts bind them (tools/hostkit).
# Each file is rewritten only when its text changes, so that an unchanged list
# relinks nothing.
set(PCW_EXPORT_LIST_FILE ${PROJECT_SOURCE_DIR}/cmake/exports.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PCW_EXPORT_LIST_FILE})
set(PCW_EXPORTS_DIR ${CMAKE_BINARY_DIR}/exports)

file(STRINGS ${PCW_EXPORT_LIST_FILE} export_lines)
list(LENGTH export_lines PCW_EXPORT_COUNT)
set(PCW_WINDOWS_EXPORTS "")
set(def "LIBRARY pushcenterwrapper.dll\nEXPORTS\n")
set(map "/* The library's exports on ELF targets: the ${PCW_EXPORT_COUNT} names and nothing else. */\n{\n  global:\n")
set(header "/* The library's exports, written from cmake/exports.txt by the configure step. */\n#pragma once\n\n#define PCW_EXPORT_LIST(X)")
foreach(line IN LISTS export_lines)
  if(NOT line MATCHES "^([^ ]+)( ([^ ]+))?$")
    message(FATAL_ERROR "cmake/exports.txt: \"${line}\" is not <Windows name> [<ELF name>]")
  endif()
  set(windows_name ${CMAKE_MATCH_1})
  set(elf_name ${CMAKE_MATCH_3})
  list(APPEND PCW_WINDOWS_EXPORTS ${windows_name})
  if(elf_name)
    # A C++ export: its identifier is what its Windows decoration begins with.
    string(REGEX MATCH "^\\?([A-Za-z_][A-Za-z0-9_]*)@@" identifier ${windows_name})
    set(identifier ${CMAKE_MATCH_1})
    string(APPEND def "  ${windows_name}=${elf_name}\n")
  else()
    set(identifier ${windows_name})
    set(elf_name ${windows_name})
    string(APPEND def "  ${windows_name}\n")
  endif()
  if(NOT identifier)
    message(FATAL_ERROR "cmake/exports.txt: no identifier in \"${windows_name}\"")
  endif()
  string(APPEND map "    ${elf_name};\n")
  string(APPEND header " \\\n  X(${identifier}, \"${windows_name}\", \"${elf_name}\")")
endforeach()
string(APPEND map "  local: *;\n};\n")
string(APPEND header "\n\n#define PCW_EXPORT_COUNT ${PCW_EXPORT_COUNT}\n")

function(pcw_write_export_file name text)
  file(WRITE ${PCW_EXPORTS_DIR}/${name}.new "${text}")
  configure_file(${PCW_EXPORTS_DIR}/${name}.new ${PCW_EXPORTS_DIR}/${name} COPYONLY)
endfunction()
pcw_write_export_file(exports.def "${def}")
pcw_write_export_file(exports.map "${map}")
pcw_write_export_file(pcwexportlist.h "${header}")

add_library(pcw_export_list INTERFACE)
target_include_directories(pcw_export_list INTERFACE ${PCW_EXPORTS_DIR})
