# pcw_module(<target> <file name> [DESCRIPTION <text>] [sources...])
#
# A shared library that keeps its Windows file name on every platform: the
# host product's modules are named "<name>.dll" everywhere, so that one bin
# folder and one HalyxBinPath serve Linux and Windows alike.
function(pcw_module target file_name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "DESCRIPTION" "")
  set(sources ${arg_UNPARSED_ARGUMENTS})
  if(NOT arg_DESCRIPTION)
    set(arg_DESCRIPTION "${file_name}.dll of pushcenterwrapper")
  endif()
  if(NOT sources)
    # A module whose folder has no code yet still configures, as an empty
    # library, so that the rest of the tree builds; anything that needs its
    # entry points fails at link or load time, not silently.
    message(WARNING "${file_name}.dll has no sources yet: built empty")
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} SHARED ${sources})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${file_name}
    SUFFIX ".dll"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  pcw_version_resource(${target} "${arg_DESCRIPTION}")
  if(WIN32)
    # No runtime DLLs of the compiler to ship beside the modules.
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  endif()
  # On Linux the soname is the file name ("setting.dll"), so a user's DT_NEEDED
  # finds the module beside it through the $ORIGIN run path.
endfunction()

# pcw_executable(<target> [DESCRIPTION <text>] [sources...])
function(pcw_executable target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION" "")
  if(NOT arg_DESCRIPTION)
    set(arg_DESCRIPTION "${target} of pushcenterwrapper")
  endif()
  add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  pcw_version_resource(${target} "${arg_DESCRIPTION}")
  if(WIN32)
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  endif()
endfunction()
