# The public header compiles alone on every target: once as C99 and once as
# C++11, pedantic, with every warning an error. A header that leans on
# something included before it, on a newer standard or on one language only
# fails the build here.
add_library(pcw_public_header_check OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/publicheader/alone.c
  ${CMAKE_CURRENT_LIST_DIR}/publicheader/alone.cpp)
target_include_directories(pcw_public_header_check PRIVATE
  ${PROJECT_SOURCE_DIR}/services/source/pushcenterwrapper)
set_target_properties(pcw_public_header_check PROPERTIES
  C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF
  CXX_STANDARD 11 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
target_compile_options(pcw_public_header_check PRIVATE -Wall -Wextra -Werror -pedantic-errors)
