# Cross toolchain for the Windows build: x86-64 mingw-w64, posix thread model
# (the win32 model has no std::mutex, which GoogleTest needs), everything
# linked statically so the executables need no MinGW DLL at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests of the Windows build run under Wine; scripts/wine-env.sh sets the
# project's own prefix and keeps a wineserver alive across the run.
find_program(TARNOLUX_WINE NAMES wine64 wine)
if(TARNOLUX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNOLUX_WINE})
endif()
