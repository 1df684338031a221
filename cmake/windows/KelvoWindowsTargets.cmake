# The Windows platform layer: Win32 window services, message filter, Notepad launcher, the
# COM transport and kelvocad-com, with the Windows suite that runs them (under Wine here).

add_library(kelvo_win32 STATIC
  ${PROJECT_SOURCE_DIR}/src/app/TMessageFilter.cpp
  ${PROJECT_SOURCE_DIR}/src/app/NotepadLauncher.cpp
  ${PROJECT_SOURCE_DIR}/src/cadlink/platform/Win32WindowServices.cpp)
target_include_directories(kelvo_win32 PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_features(kelvo_win32 PUBLIC cxx_std_20)
target_compile_definitions(kelvo_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(kelvo_win32 PUBLIC kelvo_core ole32 oleaut32 uuid user32 gdi32 shell32)

# Read as part of the top-level directory (a deferred call cannot add directories).
include(${PROJECT_SOURCE_DIR}/src/automation/com/com.cmake OPTIONAL)
include(${PROJECT_SOURCE_DIR}/src/kelvocad/com/kelvocad-com.cmake OPTIONAL)

if(KELVO_BUILD_TESTS)
  include(${PROJECT_SOURCE_DIR}/tests/windows/windows.cmake)
  # The DXF round-trip tests need the host's Python oracle and POSIX temporary folders;
  # they stay a Linux suite (scripts/windows-tests.sh leaves them out of the run).
  if(TARGET kelvocad_dxf_tests)
    set_target_properties(kelvocad_dxf_tests PROPERTIES EXCLUDE_FROM_ALL TRUE)
  endif()
endif()
