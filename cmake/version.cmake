# The project's version where programs and binaries read it.
#
# pcwversion: an interface target whose users include "pcwversion.h".
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/pcwversion.h @ONLY)
add_library(pcwversion INTERFACE)
target_include_directories(pcwversion INTERFACE ${CMAKE_BINARY_DIR}/generated)

# pcw_version_resource(<target> <description>): on Windows, a VERSIONINFO
# resource (file and product version, product name, description) compiled by
# windres into the target's binary. Nothing elsewhere: an ELF module has no
# resource section, and its file name stays what hosts load.
function(pcw_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    set(PCW_RC_FILETYPE VFT_APP)
    set(PCW_RC_FILENAME ${name}.exe)
  else()
    set(PCW_RC_FILETYPE VFT_DLL)
    set(PCW_RC_FILENAME ${name}.dll)
  endif()
  set(PCW_RC_NAME ${name})
  set(PCW_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
