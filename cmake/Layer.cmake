# corvantel_layer(NAME DEPS...): a static library of every source in the calling folder.
function(corvantel_layer name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB _cpp CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _cpp)
    # A layer still without sources links as nothing, so the tree builds while it grows.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# corvantel_test_suite(NAME [OWN_MAIN] DEPS...): one test program of every source in the
# calling folder. OWN_MAIN: the suite brings its own main() (e.g. to create a QGuiApplication).
function(corvantel_test_suite name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS} GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS} GTest::gtest GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    CORVANTEL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    CORVANTEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
endfunction()
