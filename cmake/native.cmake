# Native tree: the portable core, its unit tests and, built with clang, the libFuzzer targets, all
# under AddressSanitizer and UBSan when HXT_SANITIZE is on. One tree serves both: the core is
# compiled once, with the fuzzers' coverage instrumentation, which the unit tests simply carry.
if(HXT_SANITIZE)
  set(HXT_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(hxt_core PUBLIC ${HXT_SAN_FLAGS})
  target_link_options(hxt_core PUBLIC ${HXT_SAN_FLAGS})
endif()
set(HXT_WITH_FUZZERS OFF)
if(HXT_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(HXT_WITH_FUZZERS ON)
  target_compile_options(hxt_core PRIVATE -fsanitize=fuzzer-no-link)
endif()

file(GLOB_RECURSE HXT_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
hxt_add_native_tests(hxt_unit_tests ${HXT_UNIT_TESTS})
target_include_directories(hxt_unit_tests SYSTEM PRIVATE ${HXT_STB_DIR})  # the pictures' encoder
# The tests' own code needs no optimising: at -O0 it compiles in half the time.
target_compile_options(hxt_unit_tests PRIVATE -O0)
# One process for all: a process start under ASan costs more than most tests take.
add_test(NAME unit_tests COMMAND hxt_unit_tests --gtest_brief=1)
set_tests_properties(unit_tests PROPERTIES TIMEOUT 600)

if(HXT_WITH_FUZZERS)
  file(GLOB HXT_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${HXT_FUZZERS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE hxt_core)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()

# Benchmarks are built, not run as tests; their figures come from a tree without sanitizers.
find_package(benchmark QUIET)
file(GLOB HXT_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*_bench.cpp)
list(FILTER HXT_BENCHMARKS EXCLUDE REGEX "_win32_bench\\.cpp$")
if(benchmark_FOUND)
  foreach(src ${HXT_BENCHMARKS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE hxt_core benchmark::benchmark)
  endforeach()
endif()
