include(GoogleTest)

# korvane_add_gtest(<name> LABEL <unit|integration|e2e> SOURCES ... LIBS ...)
# One GoogleTest executable, its cases registered with CTest one by one.
# Tests run headless; KORVANE_TEST_SOURCE_DIR and KORVANE_TEST_BINARY_DIR
# name the source and build folders.
function(korvane_add_gtest name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} korvane_testsupport GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    NO_PRETTY_VALUES  # parameterised cases are named by their generators
    PROPERTIES
      LABELS ${T_LABEL}
      TIMEOUT ${T_TIMEOUT}
      # gtest_discover_tests passes one environment entry only (it splits
      # lists into separate properties), so the folders are compiled in.
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  target_compile_definitions(${name} PRIVATE
    KORVANE_TEST_SOURCE_DIR="${KORVANE_ROOT}" KORVANE_TEST_BINARY_DIR="${PROJECT_BINARY_DIR}")
endfunction()
