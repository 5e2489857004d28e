# One helper for each kind of test, so that each kind is registered, labelled
# and given its environment the same way wherever it lives:
#   kovrin_add_unit_test     GoogleTest, plain logic            label unit
#   kovrin_add_program_test  GoogleTest that runs built programs label program
#   kovrin_add_qt_test       Qt Test on the offscreen platform  label gui
#   kovrin_add_script_test   a shell or CMake script             labels given
#   kovrin_add_fuzzer        a bounded libFuzzer run             label fuzz
# A test needing other labels says so with LABELS. A GoogleTest executable
# some of whose tests need the data shared beside the checkout says so with
# NEEDS_SHARED: its tests find the data with tests/support/shared_data.h,
# which skips a test whose data is absent and prints "SKIPPED: <reason>";
# CTest reports such a test skipped, not passed.

# Qt makes $TMPDIR/runtime-<user> for a process started without
# XDG_RUNTIME_DIR, as under CTest, and leaves it there. The tests get a
# runtime folder of their own in the build tree instead: a test run leaves
# nothing in /tmp.
set(KOVRIN_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/tests/runtime)
file(MAKE_DIRECTORY ${KOVRIN_TEST_RUNTIME_DIR})
file(CHMOD ${KOVRIN_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# A GoogleTest executable in tests/bin whose tests are registered one by one.
function(kovrin_gtest_executable name sources libs labels needs_shared)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${libs} GTest::gtest GTest::gtest_main kovrin_options)
  target_compile_definitions(${name} PRIVATE
    KOVRIN_RUN_DIR="${KOVRIN_RUN_DIR}"
    KOVRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(skip "")
  if(needs_shared)
    target_link_libraries(${name} PRIVATE kovrin_test_files)
    set(skip SKIP_REGULAR_EXPRESSION "SKIPPED:")
  endif()
  gtest_discover_tests(${name} NO_PRETTY_VALUES
    PROPERTIES LABELS "${labels}" ENVIRONMENT "XDG_RUNTIME_DIR=${KOVRIN_TEST_RUNTIME_DIR}" ${skip}
    DISCOVERY_TIMEOUT 60)
endfunction()

# kovrin_add_unit_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [NEEDS_SHARED])
# Tests that need nothing built but themselves; label "unit" unless other
# labels are given.
function(kovrin_add_unit_test name)
  cmake_parse_arguments(ARG "NEEDS_SHARED" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  kovrin_gtest_executable(${name} "${ARG_SOURCES}" "${ARG_LIBS}" "${ARG_LABELS}" ${ARG_NEEDS_SHARED})
endfunction()

# kovrin_add_program_test(<name> SOURCES ... [LIBS ...] [LABELS ...] DEPENDS <target>...
#                         [NEEDS_SHARED])
# Tests that run what the build lays out: the test programs, the launcher,
# preloaded libraries, the run folder's data. DEPENDS names them, so that
# building the test builds them too. Label "program" unless others are given.
function(kovrin_add_program_test name)
  cmake_parse_arguments(ARG "NEEDS_SHARED" "" "SOURCES;LIBS;LABELS;DEPENDS" ${ARGN})
  if(NOT ARG_DEPENDS)
    message(FATAL_ERROR "kovrin_add_program_test(${name}): DEPENDS must name what the test runs")
  endif()
  if(NOT ARG_LABELS)
    set(ARG_LABELS program)
  endif()
  kovrin_gtest_executable(${name} "${ARG_SOURCES}" "${ARG_LIBS}" "${ARG_LABELS}" ${ARG_NEEDS_SHARED})
  add_dependencies(${name} ${ARG_DEPENDS})
endfunction()

# kovrin_add_qt_test_run(<test> TARGET <executable> [ARGS ...] [LABELS ...]
#                        [TIMEOUT <s>] [ENVIRONMENT VAR=value ...] [RUN_SERIAL])
# One registration of a Qt Test executable. No window can show and no
# message box can wait for a click: the offscreen platform and unattended
# boxes come first, then the run's own ENVIRONMENT. Label "gui", 120 s,
# unless told otherwise.
function(kovrin_add_qt_test_run test)
  cmake_parse_arguments(ARG "RUN_SERIAL" "TARGET;TIMEOUT" "ARGS;LABELS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS gui)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(environment QT_QPA_PLATFORM=offscreen KOVRIN_MSGBOX=default XDG_RUNTIME_DIR=${KOVRIN_TEST_RUNTIME_DIR}
    ${ARG_ENVIRONMENT})
  add_test(NAME ${test} COMMAND ${ARG_TARGET} ${ARG_ARGS})
  set_tests_properties(${test} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${environment}")
  if(ARG_RUN_SERIAL)
    set_tests_properties(${test} PROPERTIES RUN_SERIAL ON)
  endif()
endfunction()

# kovrin_add_qt_test(<name> SOURCES ... [LIBS ...] [DEPENDS <target>...]
#                    [LABELS ...] [TIMEOUT <s>] [ENVIRONMENT ...] [RUN_SERIAL])
# A Qt Test executable in tests/bin, registered once under its own name (see
# kovrin_add_qt_test_run for the rest). kovrin_add_qt_test_run registers it
# again, e.g. under another locale.
function(kovrin_add_qt_test name)
  cmake_parse_arguments(ARG "RUN_SERIAL" "TIMEOUT" "SOURCES;LIBS;DEPENDS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test kovrin_options)
  target_compile_definitions(${name} PRIVATE KOVRIN_RUN_DIR="${KOVRIN_RUN_DIR}")
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  set(serial "")
  if(ARG_RUN_SERIAL)
    set(serial RUN_SERIAL)
  endif()
  kovrin_add_qt_test_run(${name} TARGET ${name} LABELS ${ARG_LABELS} TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT ${ARG_ENVIRONMENT} ${serial})
endfunction()

# kovrin_add_script_test(<name> COMMAND ... LABELS ... [TIMEOUT <s>]
#                        [PROPERTIES <test property> <value> ...])
# A test whose body is a script run against the build tree (a package built
# and installed, a benchmark's pieces, the committed data, the library
# graph). It has no executable of its own, so it builds nothing: it runs on
# what the preset's build made.
function(kovrin_add_script_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "COMMAND;LABELS;PROPERTIES" ${ARGN})
  if(NOT ARG_LABELS)
    message(FATAL_ERROR "kovrin_add_script_test(${name}): LABELS must say what kind of check it is")
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" ${ARG_PROPERTIES})
  if(ARG_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()

# kovrin_add_fuzzer(<name> SOURCES ... [LIBS ...] [INCLUDES ...] [DEFINITIONS ...] CORPUS <dir>)
# A libFuzzer target, built only with KOVRIN_FUZZ (clang), and a bounded run of
# it registered as a test with label "fuzz". Sources compiled into the target
# (to get the fuzzer's coverage) find their headers through INCLUDES.
# Without KOVRIN_FUZZ nothing happens, so callers need no check of their own.
function(kovrin_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS;INCLUDES;DEFINITIONS" ${ARGN})
  if(NOT KOVRIN_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${ARG_INCLUDES})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kovrin_options)
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env KOVRIN_MSGBOX=default
      sh -c "mkdir -p '${work}' && cp -n '${ARG_CORPUS}'/* '${work}'/ 2>/dev/null; exec \"$0\" -max_total_time=20 -rss_limit_mb=2048 -timeout=10 '${work}'" $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endfunction()
