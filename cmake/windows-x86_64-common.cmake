# What both Windows toolchains share: the 64-bit Windows target, the mingw-w64 headers and
# libraries, windres for the resources, a static runtime, and Wine to run what they build.
# Included first by each toolchain file, which may add to the flags set here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the programs need only the system's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine runs the Windows programs; the wrapper gives them a quiet prefix inside the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run")
