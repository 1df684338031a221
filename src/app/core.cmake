# Qt-free part of the application shell: the settings file and the paths of the files beside
# the program.
target_sources(kelvo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KelvoSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp)
