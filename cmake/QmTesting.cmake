# Test registration for every build: GoogleTest programs (run natively, or under Wine in
# the Windows cross build), plain Windows test commands, and Google Benchmark programs.
#
#   qm_add_gtest(<target> [ENVIRONMENT <var=value>...] [LABELS <label>...])
#   qm_add_wine_test(<name> COMMAND <command> [args...] [ENVIRONMENT ...] [LABELS ...]
#                    [WORKING_DIRECTORY <dir>])
#   qm_add_import_check(<target> [NAME <test>] [ALLOWED_DLLS <dll>...]
#                       [FORBIDDEN_FUNCTIONS <function>...] [LABELS <label>...])
#   qm_add_skipped_test(<name> REASON <text> [LABELS <label>...])
#   qm_add_benchmark(<target>)
#   qm_add_wine_fixture()     (called once, by tests/CMakeLists.txt)
include_guard(GLOBAL)
include(GoogleTest)

set(QM_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources, built with the project when no prebuilt GoogleTest fits")

# Windows tests need their own Wine prefix, set up by QmWine.cmake.
set(QM_WINE_TESTS FALSE)
if(WIN32 AND CMAKE_CROSSCOMPILING)
  if(NOT QM_HAVE_WINE)
    message(FATAL_ERROR "The Windows tests run under Wine, which was not found: install it "
                        "(scripts/setup.sh) or configure with -DBUILD_TESTING=OFF.")
  endif()
  set(QM_WINE_TESTS TRUE)
endif()

# Windows tests run in a UTF-8 locale whatever the caller's: Wine names files in the
# locale's encoding, so under LANG=C a Windows program cannot create a file whose name is
# not ASCII. A test's own ENVIRONMENT comes later and wins (LANG=ja_JP.UTF-8, say).
set(QM_WINE_TEST_ENVIRONMENT LANG=C.UTF-8 LC_ALL=)
set(QM_WINE_PREFIX_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh")

# GoogleTest from its sources, with its own warning flags rather than ours, and its headers
# seen as system headers so that our -Werror does not apply to them either.
function(_qm_build_googletest)
  if(NOT EXISTS "${QM_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${QM_GOOGLETEST_SOURCE_DIR}: "
                        "install the googletest package (scripts/setup.sh).")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest with the project" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "Build GoogleMock with GoogleTest")
  add_subdirectory("${QM_GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

  # Let find_package(GTest) elsewhere in the tree find the targets built here.
  file(STRINGS "${QM_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt" version_line
       REGEX "set\\(GOOGLETEST_VERSION [0-9.]+\\)")
  string(REGEX MATCH "[0-9][0-9.]*" version "${version_line}")
  file(WRITE "${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake"
       "# GoogleTest is built with the project; its targets (GTest::gtest ...) already exist.\n")
  file(WRITE "${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config-version.cmake"
       "set(PACKAGE_VERSION \"${version}\")\n"
       "if(PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION)\n"
       "  set(PACKAGE_VERSION_COMPATIBLE FALSE)\n"
       "else()\n"
       "  set(PACKAGE_VERSION_COMPATIBLE TRUE)\n"
       "endif()\n")
endfunction()

if(NOT TARGET GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    _qm_build_googletest()
  else()
    # Debian's prebuilt libraries when present; they match the system compiler.
    find_package(GTest 1.10 CONFIG QUIET)
    if(NOT GTest_FOUND OR NOT TARGET GTest::gmock)
      _qm_build_googletest()
    endif()
  endif()
endif()

# Writes a file that CTest includes right after GoogleTest has listed the tests of
# <target>, so that properties with list values (ENVIRONMENT holds several variables)
# reach every discovered test intact.
function(_qm_set_discovered_test_properties target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "ENVIRONMENT;LABELS;FIXTURES_REQUIRED")
  set(props "")
  foreach(name IN ITEMS ENVIRONMENT LABELS FIXTURES_REQUIRED)
    if(arg_${name})
      string(APPEND props " ${name} [==[${arg_${name}}]==]")
    endif()
  endforeach()
  if(props STREQUAL "")
    return()
  endif()
  set(file "${CMAKE_CURRENT_BINARY_DIR}/${target}_test_properties.cmake")
  file(WRITE "${file}"
       "# Properties of the tests found in ${target}.\n"
       "if(${target}_TESTS)\n"
       "  set_tests_properties(\${${target}_TESTS} PROPERTIES${props})\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()

function(qm_add_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "ENVIRONMENT;LABELS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "qm_add_gtest(${target}): unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()

  target_link_libraries(${target} PRIVATE GTest::gmock GTest::gtest_main)
  target_compile_options(${target} PRIVATE ${QM_WARNINGS})

  # Tests are listed when CTest starts (PRE_TEST), never at build time: listing runs the
  # program, which in the Windows build means Wine. The target's name in front keeps the
  # names unique when two programs share test sources (one run per locale, say).
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${target}."
    DISCOVERY_TIMEOUT 120
    TEST_LIST ${target}_TESTS)

  set(fixture "")
  set(environment ${arg_ENVIRONMENT})
  if(QM_WINE_TESTS)
    set(fixture wine)
    list(PREPEND environment ${QM_WINE_TEST_ENVIRONMENT})
  endif()
  _qm_set_discovered_test_properties(${target}
    ENVIRONMENT ${environment} LABELS ${arg_LABELS} FIXTURES_REQUIRED ${fixture})
endfunction()

# A Windows test that is not a GoogleTest program (registration through regsvr32, an
# installer run). A COMMAND naming an executable target runs under Wine by itself; other
# Windows programs are started with ${QM_WINE_COMMAND} in front.
function(qm_add_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "WORKING_DIRECTORY" "COMMAND;ENVIRONMENT;LABELS")
  if(NOT QM_WINE_TESTS)
    message(FATAL_ERROR "qm_add_wine_test(${name}): Windows tests exist only in the Windows build")
  endif()
  if(NOT arg_COMMAND OR arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "qm_add_wine_test(${name}): needs COMMAND, got ${ARGN}")
  endif()
  set(workdir "${CMAKE_CURRENT_BINARY_DIR}")
  if(arg_WORKING_DIRECTORY)
    set(workdir "${arg_WORKING_DIRECTORY}")
  endif()
  add_test(NAME ${name} COMMAND ${arg_COMMAND} WORKING_DIRECTORY "${workdir}")
  set(environment ${QM_WINE_TEST_ENVIRONMENT} ${arg_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${environment}")
  if(arg_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${arg_LABELS}")
  endif()
endfunction()

# A test that fails when the Windows binary of <target> imports a MinGW runtime DLL (it
# must run with nothing copied next to it), a DLL not in ALLOWED_DLLS (when given) or one
# of FORBIDDEN_FUNCTIONS. It reads the file with objdump: no Wine needed. Named
# <target>.imports unless NAME says otherwise.
function(qm_add_import_check target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME" "ALLOWED_DLLS;FORBIDDEN_FUNCTIONS;LABELS")
  if(NOT WIN32)
    message(FATAL_ERROR "qm_add_import_check(${target}): only Windows binaries have import tables")
  endif()
  set(name ${target}.imports)
  if(arg_NAME)
    set(name ${arg_NAME})
  endif()
  # Commas, not semicolons: a list would come apart into several arguments.
  string(REPLACE ";" "," forbidden "${arg_FORBIDDEN_FUNCTIONS}")
  string(REPLACE ";" "," allowed "${arg_ALLOWED_DLLS}")
  add_test(NAME ${name}
           COMMAND "${CMAKE_COMMAND}" "-DOBJDUMP=${CMAKE_OBJDUMP}" "-DBINARY=$<TARGET_FILE:${target}>"
                   "-DALLOWED_DLLS=${allowed}" "-DFORBIDDEN_FUNCTIONS=${forbidden}"
                   -P "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check-imports.cmake")
  set_tests_properties(${name} PROPERTIES LABELS "imports;${arg_LABELS}")
endfunction()

# A test that does not apply to this build: it says why in one line ("<name> skipped:
# <reason>", which scripts/test.sh collects from CTest's log) and counts as skipped.
function(qm_add_skipped_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "REASON" "LABELS")
  if(NOT arg_REASON)
    message(FATAL_ERROR "qm_add_skipped_test(${name}): say why (REASON)")
  endif()
  add_test(NAME ${name} COMMAND sh -c "echo \"$0 skipped: $1\"; exit 77" "${name}" "${arg_REASON}")
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS "skipped;${arg_LABELS}")
endfunction()

# A Google Benchmark program: built with the native build, never registered as a test
# (timings on a shared machine prove nothing). `ninja run_benchmarks` runs them all.
function(qm_add_benchmark target)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "qm_add_benchmark(${target}): benchmarks are built natively only")
  endif()
  if(NOT TARGET benchmark::benchmark_main)
    find_package(benchmark CONFIG REQUIRED)
  endif()
  target_link_libraries(${target} PRIVATE benchmark::benchmark_main)
  target_compile_options(${target} PRIVATE ${QM_WARNINGS})
  if(NOT TARGET run_benchmarks)
    add_custom_target(run_benchmarks)
  endif()
  add_custom_target(run_${target} COMMAND ${target} USES_TERMINAL
                    COMMENT "Running benchmark ${target}")
  add_dependencies(run_benchmarks run_${target})
endfunction()

# The Wine fixture of the Windows tests: a test that prepares the prefix and starts a
# persistent wine server before the first Windows test, and one that stops the server
# after the last. Without a persistent server started with its streams redirected, each
# test would start its own, which holds CTest's pipes for seconds after the test ends.
function(qm_add_wine_fixture)
  if(NOT QM_WINE_TESTS)
    return()
  endif()
  qm_wine_script_command(command "${QM_WINEPREFIX}")
  list(APPEND command "${QM_WINE_PREFIX_SCRIPT}")
  add_test(NAME wine_prefix_start COMMAND ${command} start)
  add_test(NAME wine_prefix_stop COMMAND ${command} stop)
  set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS wine)
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)

  # CTest lists the tests of each GoogleTest program by running it under Wine while it
  # reads the test files, before any test (this fixture included) runs. Prepare Wine
  # first, from the top directory's test file, which CTest reads before all others; that
  # server ends by itself if no test follows, and the fixture replaces it otherwise.
  list(JOIN command "]==] [==[" quoted)
  set(hook "${CMAKE_BINARY_DIR}/qm_wine_before_discovery.cmake")
  file(WRITE "${hook}"
       "# Starts Wine before CTest lists the tests inside the Windows test programs.\n"
       "execute_process(COMMAND [==[${quoted}]==] start-for-listing RESULT_VARIABLE qm_wine_result)\n"
       "if(NOT qm_wine_result EQUAL 0)\n"
       "  message(WARNING \"Wine could not be prepared in ${QM_WINEPREFIX}; see ${QM_WINEPREFIX}.log\")\n"
       "endif()\n")
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY TEST_INCLUDE_FILES "${hook}")
endfunction()
