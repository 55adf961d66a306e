# Cross build for 32-bit x86 Linux with Debian's i686-linux-gnu cross compiler:
# the shipped DLL's data model (4-byte pointers, long and size_t) as code that
# runs here, under QEMU's user-mode emulator (scripts/run-i686).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# json-c and GoogleTest (cmake/build-deps.sh) are linked into shared modules.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
# 64-bit file offsets and inode numbers: without them stat and readdir fail
# with EOVERFLOW on file systems whose inode numbers exceed 32 bits. A 64-bit
# time_t, as the 32-bit Windows build has: a 32-bit one turns push times past
# January 2038 into dates of 1901.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64 -D_TIME_BITS=64")
# Test programs, pushhost and the scenarios run under qemu-i386.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/run-i686)
