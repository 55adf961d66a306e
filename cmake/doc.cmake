# doc: the HTML reference of the public header, with Doxygen (Debian's
# doxygen), into <build>/doc/html. Not part of "all": CI builds it once.
find_program(PCW_DOXYGEN doxygen)
if(PCW_DOXYGEN)
  set(PCW_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${CMAKE_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(doc
    COMMAND ${PCW_DOXYGEN} ${CMAKE_BINARY_DIR}/Doxyfile
    DEPENDS ${PROJECT_SOURCE_DIR}/services/source/pushcenterwrapper/pushcenterwrapper.h
    COMMENT "Doxygen: the HTML reference of pushcenterwrapper.h"
    VERBATIM)
endif()
