# The 32-bit cross build, for those who name a toolchain file by hand
# (-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake); the presets use mingw.cmake.
set(KELVORA_MINGW_TRIPLE i686-w64-mingw32 CACHE STRING "The MinGW-w64 target triple")
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
