# Native build: src/text with its tests (sanitizers), fuzzers and benchmarks.
set(KALVO_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(kalvo_text PRIVATE ${KALVO_SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE ${KALVO_SANITIZE})
target_compile_options(gtest_main PRIVATE ${KALVO_SANITIZE})

include(GoogleTest)
file(GLOB KALVO_TEXT_TESTS CONFIGURE_DEPENDS tests/text/*.cpp)
add_executable(text_tests ${KALVO_TEXT_TESTS})
target_link_libraries(text_tests PRIVATE kalvo_text gtest_main)
target_compile_options(text_tests PRIVATE ${KALVO_WARNINGS} ${KALVO_SANITIZE})
target_link_options(text_tests PRIVATE ${KALVO_SANITIZE})
gtest_discover_tests(text_tests DISCOVERY_MODE PRE_TEST)

# libFuzzer targets need clang; each links its own sanitized copy of the text sources.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB KALVO_FUZZERS CONFIGURE_DEPENDS fuzz/*.cpp)
  set(KALVO_FUZZ_TARGETS "")
  foreach(src ${KALVO_FUZZERS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src} ${KALVO_TEXT_SOURCES})
    target_include_directories(${name} PRIVATE src)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    list(APPEND KALVO_FUZZ_TARGETS ${name})
  endforeach()
endif()

find_package(benchmark QUIET)
file(GLOB KALVO_NATIVE_BENCH CONFIGURE_DEPENDS bench/native_*.cpp)
if(benchmark_FOUND AND KALVO_NATIVE_BENCH)
  # Benchmarks measure the optimised code, so they get their own unsanitized copy.
  add_executable(native_bench ${KALVO_NATIVE_BENCH} ${KALVO_TEXT_SOURCES})
  target_include_directories(native_bench PRIVATE src)
  target_compile_options(native_bench PRIVATE -O2)
  target_link_libraries(native_bench PRIVATE benchmark::benchmark_main)
endif()

# Each fuzzer runs for a bounded time as a test; any crash or sanitizer report fails it.
set(KALVO_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzzer runs as a test")
foreach(name ${KALVO_FUZZ_TARGETS})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${KALVO_FUZZ_SECONDS} -print_final_stats=0)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endforeach()
