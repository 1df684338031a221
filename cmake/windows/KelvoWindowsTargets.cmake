# The Windows platform layer: Win32 window services, message filter, Notepad launcher, the
# COM transport and kelvocad-com, with the Windows suite that runs them (under Wine here);
# with Qt, the folder the Windows programs run from.

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

# The folder a user runs the Windows programs from: bin/ gets the Qt DLLs, the Windows
# platform and style plugins and the compiler's runtime beside kelvoedit.exe and kelvocad.exe,
# so it runs as it is and is what the release zip holds.
if(TARGET kelvoedit AND TARGET kelvocad)
  set(deploy_dir ${CMAKE_BINARY_DIR}/bin)
  set(deploy_files)
  foreach(module Core Gui Widgets)
    list(APPEND deploy_files $<TARGET_FILE:Qt6::${module}>)
  endforeach()
  set(runtime_files)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dll_path "${dll_path}" ABSOLUTE)
    if(NOT EXISTS "${dll_path}")
      message(FATAL_ERROR "The compiler's runtime ${dll} was not found (asked: ${CMAKE_CXX_COMPILER})")
    endif()
    list(APPEND runtime_files "${dll_path}")
  endforeach()
  set(KELVO_WINDOWS_RUNTIME_DLLS ${runtime_files} CACHE INTERNAL "")
  add_custom_target(kelvo_windows_deploy ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${deploy_dir}/platforms ${deploy_dir}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${deploy_files} ${runtime_files} ${deploy_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> ${deploy_dir}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> ${deploy_dir}/styles
    COMMENT "Collecting the Qt DLLs, plugins and runtime beside the Windows programs"
    VERBATIM)
  add_dependencies(kelvo_windows_deploy kelvoedit kelvocad)
endif()

if(KELVO_BUILD_TESTS)
  include(${PROJECT_SOURCE_DIR}/tests/windows/windows.cmake)
  # The DXF round-trip tests need the host's Python oracle and POSIX temporary folders;
  # they stay a Linux suite (scripts/windows-tests.sh leaves them out of the run).
  if(TARGET kelvocad_dxf_tests)
    set_target_properties(kelvocad_dxf_tests PROPERTIES EXCLUDE_FROM_ALL TRUE)
  endif()
endif()
