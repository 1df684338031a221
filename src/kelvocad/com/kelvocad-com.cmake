# kelvocad-com: KelvoCAD's object model served over COM (Windows), for the Windows tests.
add_executable(kelvocad-com
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestControlObject.cpp)
target_link_libraries(kelvocad-com PRIVATE kelvocad_model kelvo_com advapi32 shell32)
set_target_properties(kelvocad-com PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
