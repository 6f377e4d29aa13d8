# Small helpers shared by the folders' CMakeLists.

# Adds a folder only once it has a CMakeLists.txt, so that a library can be laid out before
# all of its neighbours exist.
function(fonarel_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# fonarel_gtest(NAME sources... LIBS libs... [LABELS labels...])
# One GoogleTest program registered with CTest, test by test.
function(fonarel_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  include(GoogleTest)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}" ${ARG_PROPERTIES})
endfunction()
