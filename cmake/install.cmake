# cmake --install and the archives.
#
# Component "library", what a host ships against:
#   bin/pushcenterwrapper.dll             the library (on Linux too: the file
#                                         name that hosts load)
#   include/pushcenterwrapper.h           the public header
#   lib/libpushcenterwrapper.dll.a        Windows: the GNU linker's import library
#   lib/pushcenterwrapper.lib             Windows: MSVC's, made from the export list
#   lib/cmake/pushcenterwrapper/          the CMake package config
#   README.md, CHANGELOG.md, doc/html/    (the reference when the doc target ran)
# Component "testkit": the stand-in modules of the host product, in bin/, to
# run the library without the host product. Never part of the library's
# archive.
include(CMakePackageConfigHelpers)

install(TARGETS pushcenterwrapper
  RUNTIME DESTINATION bin COMPONENT library
  LIBRARY DESTINATION bin COMPONENT library NAMELINK_SKIP
  ARCHIVE DESTINATION lib COMPONENT library)
install(FILES ${PROJECT_SOURCE_DIR}/services/source/pushcenterwrapper/pushcenterwrapper.h
  DESTINATION include COMPONENT library)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION . COMPONENT library)
install(DIRECTORY ${CMAKE_BINARY_DIR}/doc/html/ DESTINATION doc/html COMPONENT library OPTIONAL)

# MSVC's import library, from the export list with the binutils dlltool of the
# cross toolchain. On 32-bit x86 MSVC refers to a C function with a leading
# underscore and to a C++ function by its decorated name alone; the DLL
# exports them as they are, so each C name is given its symbol and its name in
# the DLL apart ("_Name == Name").
if(WIN32)
  string(REGEX REPLACE "windres$" "dlltool" dlltool_name "${CMAKE_RC_COMPILER}")
  find_program(PCW_DLLTOOL ${dlltool_name} REQUIRED)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(machine i386)
  else()
    set(machine i386:x86-64)
  endif()
  set(def "LIBRARY pushcenterwrapper.dll\nEXPORTS\n")
  foreach(name IN LISTS PCW_WINDOWS_EXPORTS)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT name MATCHES "^\\?")
      string(APPEND def "  _${name} == ${name}\n")
    else()
      string(APPEND def "  ${name}\n")
    endif()
  endforeach()
  set(msvc_def ${CMAKE_BINARY_DIR}/pushcenterwrapper-msvc.def)
  file(WRITE ${msvc_def}.new "${def}")
  configure_file(${msvc_def}.new ${msvc_def} COPYONLY)
  set(msvc_lib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/pushcenterwrapper.lib)
  add_custom_command(OUTPUT ${msvc_lib}
    COMMAND ${CMAKE_COMMAND} -DDLLTOOL=${PCW_DLLTOOL} -DAR=${CMAKE_AR} -DOBJCOPY=${CMAKE_OBJCOPY}
            -DMACHINE=${machine} -DDEF=${msvc_def} -DOUT_DIR=${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}
            -P ${PROJECT_SOURCE_DIR}/cmake/msvcimplib.cmake
    DEPENDS ${msvc_def} ${PROJECT_SOURCE_DIR}/cmake/msvcimplib.cmake
    COMMENT "dlltool: pushcenterwrapper.lib for MSVC"
    VERBATIM)
  add_custom_target(pushcenterwrapper_msvc_implib ALL DEPENDS ${msvc_lib})
  install(FILES ${msvc_lib} DESTINATION lib COMPONENT library)
endif()

set(PCW_PACKAGE_SYSTEM ${CMAKE_SYSTEM_NAME})
set(config_dir ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/cmake/pushcenterwrapperConfig.cmake.in
  ${config_dir}/pushcenterwrapperConfig.cmake @ONLY)
# Same major version; a host of another pointer size does not take it.
write_basic_package_version_file(${config_dir}/pushcenterwrapperConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${config_dir}/pushcenterwrapperConfig.cmake
  ${config_dir}/pushcenterwrapperConfigVersion.cmake
  DESTINATION lib/cmake/pushcenterwrapper COMPONENT library)

# The test kit: every stand-in module, without import libraries.
set(PCW_TEST_KIT base setting hyappinfo appinstall statusservice coreserviceengine pushcenter)
if(TARGET localdatabase)
  list(APPEND PCW_TEST_KIT localdatabase)
endif()
install(TARGETS ${PCW_TEST_KIT}
  RUNTIME DESTINATION bin COMPONENT testkit
  LIBRARY DESTINATION bin COMPONENT testkit NAMELINK_SKIP
  ARCHIVE DESTINATION lib COMPONENT testkit_importlibs EXCLUDE_FROM_ALL)

# Archives: pushcenterwrapper-<version>-<system>.zip or .tar.gz for the
# library, pushcenterwrapper-testkit-<version>-<system> for the test kit, in
# <build>/packages. Both hold the folder pushcenterwrapper-<version>-<system>,
# so the test kit unpacked over the library puts its modules beside the DLL.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_PACKAGE_NAME pushcenterwrapper)
set(CPACK_PACKAGE_VENDOR pushcenterwrapper)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGE_FILE_NAME pushcenterwrapper-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_COMPONENTS_ALL library testkit)
set(CPACK_ARCHIVE_LIBRARY_FILE_NAME pushcenterwrapper-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_ARCHIVE_TESTKIT_FILE_NAME pushcenterwrapper-testkit-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
include(CPack)
