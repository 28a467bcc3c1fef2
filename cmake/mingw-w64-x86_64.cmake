# Cross-build for 64-bit Windows with Debian's MinGW-w64 compilers. The POSIX-threads
# variant is the one whose libstdc++ has std::thread, std::mutex and std::condition_variable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESTRAN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTRAN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRAN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRAN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW tree and from the prefixes the build installs
# its own Windows libraries into (CMAKE_PREFIX_PATH), never from the Linux system.
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRAN_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program carries its runtime (libgcc, libstdc++, winpthread) and zlib inside, so that
# it runs on a bare Windows without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(ZLIB_USE_STATIC_LIBS ON)

# Windows programs built here run under Wine: CTest and gtest discovery go through it.
find_program(KESTRAN_WINE NAMES wine NO_CMAKE_FIND_ROOT_PATH)
if(KESTRAN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTRAN_WINE})
endif()
