# tesselon_add_test(NAME <name> SOURCES <files...> [LABELS <labels...>]
#                   [LIBS <extra libs...>])
#
# Builds one GoogleTest executable linked against every subsystem and
# registers its tests with CTest. Labels: "unit" runs anywhere, "display"
# needs an X display (DISPLAY set by scripts/with-display.sh; such tests take
# turns on it), "e2e" drives the real binary.
function(tesselon_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LABELS;LIBS" ${ARGN})
  if(NOT TESSELON_TESTS)
    return()
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE tesselon_all ${T_LIBS}
                        GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE
    TESSELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TESSELON_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # Display tests open windows, which take the focus and may be minimised;
  # they take turns with each other and with the end-to-end tests.
  set(lock "")
  if("display" IN_LIST T_LABELS)
    set(lock RESOURCE_LOCK x-display)
  endif()
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${T_LABELS}" ${lock}
    DISCOVERY_TIMEOUT 60)
endfunction()
