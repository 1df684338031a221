# Qt tests of the application shell, on the offscreen platform (Linux) or Qt's Windows
# platform under Wine. The Windows single instance has its own test in tests/windows.
set(app_ui_sources ui/TestApplication.cpp ui/DefaultErrorHandlerTest.cpp ui/LineEditorWidgetTest.cpp
  ui/MainFormTest.cpp ui/LayoutTest.cpp ui/UnusualFolderTest.cpp ui/MessageBoxMessagesTest.cpp)
if(NOT WIN32)
  list(APPEND app_ui_sources ui/SingleInstanceTest.cpp ui/TerminationSignalTest.cpp)
endif()
kelvo_add_test(kelvo_app_ui_tests QT SOURCES ${app_ui_sources} LIBS kelvo_ui)
add_dependencies(kelvo_app_ui_tests kelvoedit)
target_compile_definitions(kelvo_app_ui_tests PRIVATE KELVOEDIT_EXECUTABLE="$<TARGET_FILE:kelvoedit>")
