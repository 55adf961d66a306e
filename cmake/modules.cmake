# pcw_module(<target> <file name> [sources...])
#
# A shared library that keeps its Windows file name on every platform: the
# host product's modules are named "<name>.dll" everywhere, so that one bin
# folder and one HalyxBinPath serve Linux and Windows alike.
function(pcw_module target file_name)
  set(sources ${ARGN})
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
  if(WIN32)
    # No runtime DLLs of the compiler to ship beside the modules.
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  endif()
  # On Linux the soname is the file name ("setting.dll"), so a user's DT_NEEDED
  # finds the module beside it through the $ORIGIN run path.
endfunction()

function(pcw_executable target)
  add_executable(${target} ${ARGN})
  if(WIN32)
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  endif()
endfunction()
