# Cross-compiles for 64-bit Windows with mingw-w64 (posix threads). Without Qt the programs
# link the compiler's runtime statically, so they run under Wine without extra DLLs; the Qt
# programs and Qt itself (KELVO_MINGW_STATIC_RUNTIME=OFF) share its DLLs instead, so the
# whole process has one C++ runtime.
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
if(NOT DEFINED KELVO_MINGW_STATIC_RUNTIME OR KELVO_MINGW_STATIC_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Modules that only the cross build needs (GoogleTest built from its sources).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)

# The Windows-only libraries, programs and tests join the project through this file.
set(CMAKE_PROJECT_KelvoEdit_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/windows/KelvoWindows.cmake)
