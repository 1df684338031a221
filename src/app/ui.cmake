# The Qt side of the application shell and the kelvoedit program.
target_sources(kelvo_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstanceMarkerWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtOwnWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TKelvoMainForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpperCaseValidator.cpp)
target_compile_definitions(kelvo_ui PRIVATE KELVO_VERSION="${PROJECT_VERSION}")
if(WIN32)
  target_link_libraries(kelvo_ui PUBLIC user32 shell32 ole32)
endif()

add_executable(kelvoedit WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${PROJECT_SOURCE_DIR}/resources/kelvoedit.qrc)
target_link_libraries(kelvoedit PRIVATE kelvo_ui)
if(WIN32)
  # The COM transport, the Win32 window services and the message filter (defined once the
  # whole tree has been read; see cmake/windows).
  target_link_libraries(kelvoedit PRIVATE kelvo_win32 kelvo_com)
endif()
kelvo_qt_target(kelvoedit)
set_target_properties(kelvoedit PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
