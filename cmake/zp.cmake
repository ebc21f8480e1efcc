# Small helpers shared by every folder's CMakeLists.

# zp_test(NAME SOURCES file... LIBS lib...): one GoogleTest program, registered with CTest,
# linked with the shared test support.
function(zp_test name)
  if(NOT ZP_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/test_main.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} $<TARGET_NAME_IF_EXISTS:zp_test_support> GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "ZP_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()

# zp_fuzz(NAME SOURCES file... LIBS lib...): one libFuzzer target, built only with ZP_FUZZ.
function(zp_fuzz name)
  if(NOT ZP_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT TARGET fuzz_all)
    add_custom_target(fuzz_all)
  endif()
  add_dependencies(fuzz_all ${name})
endfunction()
