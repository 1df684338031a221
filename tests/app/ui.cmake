# Qt tests of the application shell, on the offscreen platform.
kelvo_add_test(kelvo_app_ui_tests QT
  SOURCES ui/TestApplication.cpp ui/DefaultErrorHandlerTest.cpp ui/LineEditorWidgetTest.cpp ui/MainFormTest.cpp ui/LayoutTest.cpp ui/SingleInstanceTest.cpp
    ui/UnusualFolderTest.cpp
  LIBS kelvo_ui)
add_dependencies(kelvo_app_ui_tests kelvoedit)
target_compile_definitions(kelvo_app_ui_tests PRIVATE KELVOEDIT_EXECUTABLE="$<TARGET_FILE:kelvoedit>")
