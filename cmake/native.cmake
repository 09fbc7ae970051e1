# Native tree: portable core and its unit tests, optionally under the sanitizers.
if(HXT_SANITIZE)
  set(HXT_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(hxt_core PUBLIC ${HXT_SAN_FLAGS})
  target_link_options(hxt_core PUBLIC ${HXT_SAN_FLAGS})
endif()

file(GLOB_RECURSE HXT_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
hxt_add_native_tests(hxt_unit_tests ${HXT_UNIT_TESTS})
include(GoogleTest)
gtest_discover_tests(hxt_unit_tests DISCOVERY_TIMEOUT 60)

# Benchmarks are built, not run as tests.
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
