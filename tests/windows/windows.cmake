# The Windows suite: the Win32 platform layer on real windows, files and COM (under Wine in
# this project's runs; scripts/windows-tests.sh prepares the Japanese locale and the display).
kelvo_add_test(windows_platform_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MessageFilterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFileAgainstWin32Test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CodePageAgainstWin32Test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WidthMappingWin32Test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Win32WindowServicesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceWin32Test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NotepadLauncherTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileErrorWin32Test.cpp
    # The single-instance pieces are Qt-free; the native Windows build puts them in kelvo_ui.
    ${PROJECT_SOURCE_DIR}/src/app/InstanceMarkerWindow.cpp
    ${PROJECT_SOURCE_DIR}/src/app/SingleInstanceLock.cpp
  LIBS kelvo_win32 kelvo_core)

# The COM transport in one process, and KelvoCAD's object model over COM from kelvocad-com,
# attached by ProgID. The tests start kelvocad-com from their own folder.
if(TARGET kelvo_com AND TARGET kelvocad-com)
  kelvo_add_test(windows_com_tests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/ComTransportTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/KelvoCadOverComTest.cpp
    LIBS kelvo_com kelvo_win32)
  set_target_properties(windows_com_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(windows_com_tests kelvocad-com)
endif()

# kelvoedit.exe and kelvocad.exe as a user runs them, from a folder of their own with the Qt
# DLLs, over COM, driven by mouse and keyboard.
if(TARGET kelvo_windows_deploy)
  kelvo_add_test(windows_program_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowsProgramsTest.cpp LIBS kelvo_com)
  set_target_properties(windows_program_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(windows_program_tests kelvo_windows_deploy)
endif()

