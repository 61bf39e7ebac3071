# Cross build for Windows with the MinGW-w64 posix-thread compilers. The
# target is chosen by KELVORA_MINGW_TRIPLE (set by each preset):
#   i686-w64-mingw32    the shipped 32-bit build
#   x86_64-w64-mingw32  its 64-bit test twin
if(NOT KELVORA_MINGW_TRIPLE)
  message(FATAL_ERROR "KELVORA_MINGW_TRIPLE is not set: i686-w64-mingw32 or x86_64-w64-mingw32 (the presets set it)")
endif()
set(KELVORA_MINGW_TRIPLE "${KELVORA_MINGW_TRIPLE}" CACHE STRING "The MinGW-w64 target triple")
# The compiler checks run in projects of their own that read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVORA_MINGW_TRIPLE)
string(REGEX REPLACE "-.*" "" _kelvora_processor "${KELVORA_MINGW_TRIPLE}")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${_kelvora_processor})
set(CMAKE_C_COMPILER   ${KELVORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KELVORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELVORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# Fully static: without it the program needs libwinpthread-1.dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
