# The COM transport (Windows): IDispatch client proxies with DISPID caching, the IDispatch
# server adapter over any automation::Object, and the running object table.
add_library(kelvo_com STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ActiveObjectRegistration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComRunningObjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DispIdCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DispatchAdapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DispatchProxy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VariantConversion.cpp)
target_include_directories(kelvo_com PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_features(kelvo_com PUBLIC cxx_std_20)
target_compile_definitions(kelvo_com PUBLIC UNICODE _UNICODE NOMINMAX)
target_link_libraries(kelvo_com PUBLIC kelvo_automation ole32 oleaut32 uuid advapi32)
