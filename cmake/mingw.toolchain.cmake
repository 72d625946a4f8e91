# Cross-compiling for Windows with MinGW-w64.
#   SWK_MINGW_ARCH    i686 (the shipped 32-bit programs) or x86_64
#   SWK_MINGW_THREADS win32 (the shipped programs: no winpthread, so no imports newer
#                     systems added) or posix (test programs: GoogleTest needs std::mutex)
set(CMAKE_SYSTEM_NAME Windows)
if(NOT SWK_MINGW_ARCH)
  set(SWK_MINGW_ARCH i686)
endif()
if(NOT SWK_MINGW_THREADS)
  set(SWK_MINGW_THREADS win32)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${SWK_MINGW_ARCH})
set(_prefix ${SWK_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_prefix}-gcc-${SWK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${_prefix}-g++-${SWK_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Passed on to try_compile projects, which read the toolchain file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SWK_MINGW_ARCH SWK_MINGW_THREADS)
