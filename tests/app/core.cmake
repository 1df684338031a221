# Settings file, list files and the list helpers of the application shell.
kelvo_add_test(app_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KelvoSettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TagListsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AppPathsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveFailureTest.cpp
  LIBS kelvo_core)
