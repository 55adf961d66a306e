# json-c for every target; SQLite for localdatabase.dll.
#
# The Linux build of this machine takes Debian's packages. The cross builds
# (PCW_DEPS_TARGET) take what cmake/build-deps.sh compiled once into the cache
# folder (PCW_DEPS_PREFIX).
if(WIN32 OR PCW_DEPS_TARGET)
  # The cache folder of cmake/build-deps.sh: $PCW_CACHE, else
  # $HOME/.cache/pushcenterwrapper, one subfolder per target.
  if(NOT PCW_DEPS_PREFIX)
    if(DEFINED ENV{PCW_CACHE} AND NOT "$ENV{PCW_CACHE}" STREQUAL "")
      set(cache $ENV{PCW_CACHE})
    else()
      set(cache $ENV{HOME}/.cache/pushcenterwrapper)
    endif()
    set(PCW_DEPS_PREFIX ${cache}/${PCW_DEPS_TARGET})
  endif()
  if(NOT PCW_DEPS_TARGET OR NOT EXISTS ${PCW_DEPS_PREFIX}/include/json-c/json.h)
    message(FATAL_ERROR "No json-c in '${PCW_DEPS_PREFIX}': run cmake/build-deps.sh ${PCW_DEPS_TARGET}")
  endif()
  find_path(JSONC_INCLUDE_DIR json-c/json.h PATHS ${PCW_DEPS_PREFIX}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_library(JSONC_LIBRARY NAMES json-c libjson-c.a PATHS ${PCW_DEPS_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_library(jsonc STATIC IMPORTED GLOBAL)
  set_target_properties(jsonc PROPERTIES
    IMPORTED_LOCATION ${JSONC_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${JSONC_INCLUDE_DIR})
  if(EXISTS ${PCW_DEPS_PREFIX}/sqlite/sqlite3.c)
    add_library(sqlite3 STATIC ${PCW_DEPS_PREFIX}/sqlite/sqlite3.c)
    target_include_directories(sqlite3 PUBLIC ${PCW_DEPS_PREFIX}/sqlite)
    # The stand-in database needs no heavy optimisation; -O1 keeps this one
    # large file from dominating the cross builds' time.
    target_compile_options(sqlite3 PRIVATE -w -O1)
    target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION)
    set(PCW_HAVE_SQLITE ON)
  else()
    set(PCW_HAVE_SQLITE OFF)
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(JSONC REQUIRED IMPORTED_TARGET GLOBAL json-c)
  add_library(jsonc ALIAS PkgConfig::JSONC)
  find_package(SQLite3 REQUIRED)
  add_library(sqlite3 ALIAS SQLite::SQLite3)
  set(PCW_HAVE_SQLITE ON)
endif()
