# SPDX-License-Identifier: Apache-2.0
# One CTest entry per GoogleTest suite of a test program, named "<prefix>.<Suite>" and running
# that suite alone, so that a failure names its suite and the suites of one program run in
# parallel. An entry per TEST would cost about 25 ms each before its test starts (CTest's own
# start of a process and the loading of the C++ and ICU libraries) and double the suite's time;
# an entry per suite costs a quarter of that. The suites are listed when CTest starts, from the
# program as built, and again whenever the program is newer than the list: a build never runs
# its test programs, so the sanitizer build and a cross build work alike.
#
# Called at configure time: ostrel_add_suite_tests(<target> <prefix> [ENVIRONMENT <var=value>...]
# [TIMEOUT <seconds>]). Called by CTest (this file included in script mode with
# OSTREL_LIST_SUITES set): writes the entries of one program.

set(OSTREL_SUITE_TESTS_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(ostrel_add_suite_tests target prefix)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "ENVIRONMENT")
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake")
  set(program "$<TARGET_FILE:${target}>")
  file(GENERATE OUTPUT "${include_file}" CONTENT
"if(NOT EXISTS \"${program}\")
  add_test(${prefix}.NOT_BUILT ${prefix}.NOT_BUILT)
  return()
endif()
if(NOT EXISTS \"${list_file}\" OR \"${program}\" IS_NEWER_THAN \"${list_file}\" OR
   \"${include_file}\" IS_NEWER_THAN \"${list_file}\" OR
   \"${OSTREL_SUITE_TESTS_SCRIPT}\" IS_NEWER_THAN \"${list_file}\")
  set(OSTREL_LIST_SUITES \"${program}\")
  set(OSTREL_SUITE_PREFIX \"${prefix}\")
  set(OSTREL_SUITE_ENVIRONMENT \"${arg_ENVIRONMENT}\")
  set(OSTREL_SUITE_TIMEOUT \"${arg_TIMEOUT}\")
  set(OSTREL_SUITE_LIST_FILE \"${list_file}\")
  include(\"${OSTREL_SUITE_TESTS_SCRIPT}\")
endif()
include(\"${list_file}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

if(OSTREL_LIST_SUITES)
  execute_process(COMMAND "${OSTREL_LIST_SUITES}" --gtest_list_tests
                  OUTPUT_VARIABLE listing RESULT_VARIABLE result TIMEOUT 60)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OSTREL_LIST_SUITES} --gtest_list_tests failed: ${result}")
  endif()
  # Suites start a line ("Suite." or "Suite.  # TypeParam = ..."); their tests are indented.
  string(REGEX MATCHALL "(^|\n)[^ \n][^\n]*" lines "${listing}")
  set(script "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    # Anything else on standard output (gtest_main's greeting) names no suite.
    if(NOT line MATCHES "^[A-Za-z0-9_/]+\\.( |$)")
      continue()
    endif()
    string(REGEX REPLACE "\\..*" "" suite "${line}")
    set(name "${OSTREL_SUITE_PREFIX}.${suite}")
    string(APPEND script
      "add_test([==[${name}]==] [==[${OSTREL_LIST_SUITES}]==] --gtest_brief=1 [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${name}]==] PROPERTIES ENVIRONMENT [==[${OSTREL_SUITE_ENVIRONMENT}]==] TIMEOUT [==[${OSTREL_SUITE_TIMEOUT}]==])\n")
  endforeach()
  file(WRITE "${OSTREL_SUITE_LIST_FILE}" "${script}")
endif()
