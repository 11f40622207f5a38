# karvessa_fuzz_target(<name> TARGET <fuzz source> LIBS <libraries...>
#                      [SECONDS n] [MAX_LEN bytes])
# The source (relative to tests/) defines LLVMFuzzerTestOneInput and
# KarvessaFuzzSeeds(). SECONDS (default 20) bounds each run;
# MAX_LEN (default 64 KiB) is the largest input libFuzzer makes.
#
# KARVESSA_FUZZ build (clang; every library compiled with coverage and
# AddressSanitizer by the top-level CMakeLists): <name> is a libFuzzer
# binary, <name>_seeds writes the seeds into a corpus folder, and
# the test <name> (label "fuzz") runs libFuzzer on that corpus for SECONDS.
# Any other build: <name> is the fuzz source with the mutation driver, and
# the test <name> mutates the seeds for SECONDS.
# Either way the test's cost is its SECONDS, so that ctest, which starts the
# costliest tests first, does not leave the fuzz runs to the end.
set(KARVESSA_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KARVESSA_TESTS_DIR ${CMAKE_CURRENT_SOURCE_DIR})
if(KARVESSA_FUZZ)
  add_custom_target(karvessa_fuzz)
endif()

function(karvessa_fuzz_target name)
  cmake_parse_arguments(F "" "TARGET;SECONDS;MAX_LEN" "LIBS" ${ARGN})
  if(NOT F_TARGET)
    message(FATAL_ERROR "karvessa_fuzz_target(${name}): TARGET is required")
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  if(NOT F_MAX_LEN)
    set(F_MAX_LEN 65536)
  endif()
  set(target ${KARVESSA_TESTS_DIR}/${F_TARGET})
  math(EXPR limit "${F_SECONDS} * 4 + 60")

  if(KARVESSA_FUZZ)
    add_executable(${name} ${target})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_executable(${name}_seeds ${KARVESSA_FUZZ_DIR}/SeedWriter.cpp ${target})
    foreach(t ${name} ${name}_seeds)
      target_link_libraries(${t} PRIVATE ${F_LIBS})
      target_include_directories(${t} PRIVATE ${KARVESSA_TESTS_DIR})
    endforeach()
    add_dependencies(karvessa_fuzz ${name} ${name}_seeds)

    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    set(artifacts ${CMAKE_BINARY_DIR}/fuzz-artifacts)
    file(MAKE_DIRECTORY ${artifacts})
    add_test(NAME ${name}_seeds COMMAND ${name}_seeds ${corpus})
    set_tests_properties(${name}_seeds PROPERTIES FIXTURES_SETUP ${name}_corpus LABELS fuzz COST ${F_SECONDS})
    add_test(NAME ${name} COMMAND ${name} -max_total_time=${F_SECONDS} -max_len=${F_MAX_LEN}
             -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 -artifact_prefix=${artifacts}/${name}-
             ${corpus})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_corpus LABELS fuzz TIMEOUT ${limit} COST ${F_SECONDS}
      ENVIRONMENT "ASAN_OPTIONS=abort_on_error=1;LSAN_OPTIONS=suppressions=${KARVESSA_TESTS_DIR}/lsan.supp:print_suppressions=0")
  else()
    add_executable(${name} ${target} ${KARVESSA_FUZZ_DIR}/MutationDriver.cpp)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${KARVESSA_TESTS_DIR})
    add_test(NAME ${name} COMMAND ${name} 100000000 ${F_SECONDS})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${limit} LABELS fuzz COST ${F_SECONDS})
  endif()
endfunction()
