# Qt-free part of the application shell: the settings file, the list files and their paths.
target_sources(kelvo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KelvoSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagLists.cpp)
