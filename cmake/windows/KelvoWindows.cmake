# Included right after project(KelvoEdit) in Windows builds (the toolchain file and the
# Windows presets name it). The Windows-only folders build on the core libraries, so they
# are added once the whole tree has been read.
if(WIN32)
  set(KELVO_WINDOWS_TARGETS ${CMAKE_CURRENT_LIST_DIR}/KelvoWindowsTargets.cmake)
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL include ${KELVO_WINDOWS_TARGETS})
endif()
