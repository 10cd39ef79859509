include(GoogleTest)

# korvane_add_gtest(<name> LABEL <unit|integration|e2e> SOURCES ... LIBS ...)
# One GoogleTest executable, its cases registered with CTest one by one.
# Tests run headless and in the C locale unless they set their own.
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
    PROPERTIES
      LABELS ${T_LABEL}
      TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KORVANE_SOURCE_DIR=${KORVANE_ROOT};KORVANE_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()
