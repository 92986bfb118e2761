# Cross-compiles the launcher for 64-bit Windows with mingw-w64's g++ and runs what it builds
# under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/windows-x86_64-common.cmake)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
