# GoogleTest for the Windows cross build. Debian ships only host libraries, so the framework
# is built from its sources (libgtest-dev puts them in /usr/src/googletest) with the same
# cross compiler, and offered under the imported names that the host package would give.
if(TARGET GTest::gtest)
  set(GTest_FOUND TRUE)
  return()
endif()

set(KELVO_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built for the cross build")
if(NOT EXISTS ${KELVO_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  if(GTest_FIND_REQUIRED)
    message(FATAL_ERROR "GoogleTest sources not found in ${KELVO_GOOGLETEST_SOURCE_DIR} (install libgtest-dev)")
  endif()
  return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${KELVO_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Recent GoogleTest releases declare these names themselves.
foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
