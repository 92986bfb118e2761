# Cross-compiles the launcher for 64-bit Windows with Debian's clang and lld, on the mingw-w64
# headers and libraries and the C++ library of mingw-w64's g++ (posix threads), and runs what it
# builds under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/windows-x86_64-common.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)

# The mingw-w64 headers and libraries; without a sysroot, clang would also search the host's
# /usr/include.
set(CMAKE_SYSROOT /usr/x86_64-w64-mingw32)

# clang does not find g++'s directory by itself (it cannot read "12-posix" as a version), so its
# C++ headers, its libraries and its crtbegin.o and crtend.o are named here.
file(GLOB gcc_dir LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(LENGTH gcc_dir gcc_dirs)
if(NOT gcc_dirs EQUAL 1)
  message(FATAL_ERROR "Expected one directory of mingw-w64's g++ (posix), found '${gcc_dir}'")
endif()
set(CMAKE_CXX_FLAGS_INIT "")
foreach(subdir "" /x86_64-w64-mingw32 /backward)
  string(APPEND CMAKE_CXX_FLAGS_INIT " -stdlib++-isystem ${gcc_dir}/include/c++${subdir}")
endforeach()
# -pthread: the posix libgcc needs winpthreads, which g++ links without being asked.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -fuse-ld=lld -B${gcc_dir} -L${gcc_dir} -pthread")
