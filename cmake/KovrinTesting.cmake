# kovrin_add_unit_test(<name> SOURCES ... [LIBS ...] [LABELS ...])
# A GoogleTest executable whose tests are registered one by one, label "unit"
# unless other labels are given.
function(kovrin_add_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main kovrin_options)
  target_compile_definitions(${name} PRIVATE
    KOVRIN_RUN_DIR="${KOVRIN_RUN_DIR}"
    KOVRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} NO_PRETTY_VALUES PROPERTIES LABELS "${ARG_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()

# kovrin_add_fuzzer(<name> SOURCES ... [LIBS ...] CORPUS <dir>)
# A libFuzzer target, built only with KOVRIN_FUZZ (clang), and a bounded run of
# it registered as a test with label "fuzz".
function(kovrin_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT KOVRIN_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kovrin_options)
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env KOVRIN_MSGBOX=default
      sh -c "mkdir -p '${work}' && cp -n '${ARG_CORPUS}'/* '${work}'/ 2>/dev/null; exec \"$0\" -max_total_time=20 -rss_limit_mb=2048 -timeout=10 '${work}'" $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endfunction()
