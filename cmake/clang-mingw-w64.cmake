# The Windows programs built with clang instead of GCC (the second compiler
# of the Windows build), against the same MinGW-w64 headers, GCC runtime
# libraries and binutils.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's clang 14 does not recognise the MinGW GCC folder by its name
# (/usr/lib/gcc/x86_64-w64-mingw32/12-posix: the "-posix" suffix), so it
# finds neither libstdc++'s headers nor the GCC runtime: name them.
file(GLOB gcc_dirs /usr/lib/gcc/${triple}/*-posix)
if(NOT gcc_dirs)
  message(FATAL_ERROR "no MinGW-w64 GCC (posix threads) in /usr/lib/gcc/${triple}")
endif()
list(GET gcc_dirs 0 gcc)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${gcc}/include/c++ -isystem ${gcc}/include/c++/${triple} -isystem ${gcc}/include/c++/backward")
# Static runtime as with GCC; -pthread puts winpthread after libgcc_eh,
# which needs it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -pthread -L${gcc} -Wl,--tsaware")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -pthread -L${gcc}")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
