# The libraries every subsystem folder adds its sources to. Core libraries never see Qt:
# they get no Qt include path, so a Qt header there is a build error.

function(kelvo_core_library name)
  add_library(${name} STATIC)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_features(${name} PUBLIC cxx_std_20)
endfunction()

# Turns on moc, uic (layouts under resources/) and rcc for one Qt target.
function(kelvo_qt_target name)
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON
    AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
endfunction()

# kelvo_add_test(<name> [QT] SOURCES ... LIBS ...): one GoogleTest executable, its cases
# registered one by one with CTest. Qt tests run on the offscreen platform.
function(kelvo_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    kelvo_qt_target(${name})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    # Under an emulator every start of a program is costly (Wine: about a second), so the
    # whole executable is one CTest test; its failures name the cases.
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name}
      DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endif()
endfunction()
