# ThreadSanitizer tree: the portable core and the tests of its threads only (the stress test and
# the unit tests of the threaded parts); a race report fails the test that met it.
set(HXT_TSAN_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
target_compile_options(hxt_core PUBLIC ${HXT_TSAN_FLAGS})
target_link_options(hxt_core PUBLIC ${HXT_TSAN_FLAGS})

set(HXT_THREAD_TESTS
  ${CMAKE_SOURCE_DIR}/tests/stress/thread_stress_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/actions/host_action_executor_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/actions/host_actions_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/app/apply_configuration_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/config/published_config_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/core/press_handoff_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/device/discovery_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/device/feature_report_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/device/input_listener_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/device/virtual_mouse_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/unit/macros/macro_store_test.cpp)
hxt_add_native_tests(hxt_thread_tests ${HXT_THREAD_TESTS})
# The races are in the core; the tests' own code compiles at -O0, in half the time.
target_compile_options(hxt_thread_tests PRIVATE -O0)
# One process for all; halt_on_error: the first race ends it, non-zero, with its report.
add_test(NAME thread_tests COMMAND hxt_thread_tests --gtest_brief=1)
set_tests_properties(thread_tests PROPERTIES LABELS tsan TIMEOUT 600
  ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1")
