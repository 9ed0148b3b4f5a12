# Cross compiling the Windows console program with mingw-w64 (x86_64).
#
# The "-posix" compilers are the ones whose C++ library has std::thread and std::mutex; the
# unsuffixed names point at the win32 thread flavour, where <mutex> and <thread> do not
# compile. The program links statically: a dynamically linked exe needs the compiler's DLLs
# beside it and exits silently without them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CORVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CORVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C library's printf family with the C99 conversions (%zu, %lld) the program uses. GCC
# checks "printf" formats against the Microsoft conversions on this target; the POSIX build
# checks them.
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1 -DUNICODE -D_UNICODE -Wno-format")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine (the scripts that call ctest set WINEPREFIX and start the server).
find_program(CORVANE_WINE wine)
if(CORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVANE_WINE})
endif()
