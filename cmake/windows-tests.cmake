# Tests of the Windows build: GoogleTest is built from Debian's source
# (package googletest) with the same cross compiler, and each test
# executable runs under Wine as one test. Discovering the cases one by one
# would start Wine once per case, and again at build time.
set(JUNMARU_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${JUNMARU_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)  # defines GTest::gtest_main

function(gtest_discover_tests target)
  add_test(NAME ${target} COMMAND ${target})
endfunction()
