# Windows tree: the statically linked program, its Win32 tests and the end-to-end tests.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)
include(${CMAKE_SOURCE_DIR}/cmake/delay_import.cmake)
set(HXT_WIN32_LIBS)
foreach(delayed setupapi:SETUPAPI.dll hid:HID.DLL shell32:SHELL32.dll winmm:WINMM.dll
                ws2_32:WS2_32.dll)
  string(REPLACE ":" ";" pair ${delayed})
  list(GET pair 0 lib)
  list(GET pair 1 dll)
  hxt_delay_import_library(archive ${lib} ${dll})
  list(APPEND HXT_WIN32_LIBS ${archive})
endforeach()
# After them the import libraries themselves, for what they hold besides imports (GUIDs and the
# like); the delay-load ones come first, so no function is imported from here.
list(APPEND HXT_WIN32_LIBS setupapi hid shell32 winmm ws2_32)
# comctl32 and comdlg32 are loaded by the code that first needs them (platform/late_function).
list(APPEND HXT_WIN32_LIBS comctl32 comdlg32 gdi32 user32 ole32 uuid)

add_library(hxt_shell STATIC ${HXT_WIN32_SOURCES})
target_compile_options(hxt_shell PRIVATE ${HXT_WARNINGS})
# The shell loads dialogs, menus and icons by the ids in resources/resource.h.
target_include_directories(hxt_shell PUBLIC ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(hxt_shell PUBLIC hxt_core ${HXT_WIN32_LIBS})

# Precompiled headers: <windows.h> and the standard library take most of each file's compile time.
# winsock2.h must come before windows.h, or the older winsock.h it pulls in collides with it.
set(HXT_COMMON_HEADERS <algorithm> <atomic> <chrono> <cstdint> <functional> <memory> <mutex> <optional>
  <string> <string_view> <thread> <utility> <vector>)
set(HXT_WINDOWS_HEADERS <winsock2.h> <windows.h>)
target_precompile_headers(hxt_core PRIVATE ${HXT_COMMON_HEADERS})
target_precompile_headers(hxt_shell PRIVATE ${HXT_WINDOWS_HEADERS} ${HXT_COMMON_HEADERS})

set(HXT_RC ${CMAKE_SOURCE_DIR}/resources/HXT_GMouse.rc)
set_property(SOURCE ${HXT_RC} APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/HXT_GMouse.manifest ${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico)

# The program icon is drawn from source at build time, never kept as a binary.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make_icon.sh ${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.sh
  COMMENT "Drawing the program icon")
add_custom_target(hxt_icon DEPENDS ${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico)

# Two programs from the same objects; only their entry point differs, by HXT_TEST_HOOKS.
# HXT_GMouse.exe here is the test build, which ./run.sh and the tests drive: with the virtual
# mouse (a server on a loopback socket that takes commands from any local process) and the
# measurement logs. release/HXT_GMouse.exe is the one that ships: none of that is linked in, and
# it is stripped, its symbols kept beside it in HXT_GMouse.exe.debug for reading a crash.
add_executable(HXT_GMouse WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win32.cpp ${HXT_RC})
target_compile_definitions(HXT_GMouse PRIVATE HXT_TEST_HOOKS)
add_executable(HXT_GMouse_release WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win32.cpp ${HXT_RC})
set_target_properties(HXT_GMouse_release PROPERTIES OUTPUT_NAME HXT_GMouse
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/release)
foreach(program HXT_GMouse HXT_GMouse_release)
  target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(${program} hxt_icon)
  # Sections on page boundaries in the file too: Wine maps such an image and reads in only the
  # pages used, where it copies an image of 512-byte alignment whole into private memory.
  target_link_options(${program} PRIVATE -municode -Wl,--file-alignment,0x1000)
  target_link_libraries(${program} PRIVATE hxt_shell)
endforeach()
foreach(test startup_imports:HXT_GMouse startup_imports_release:HXT_GMouse_release)
  string(REPLACE ":" ";" pair ${test})
  list(GET pair 0 name)
  list(GET pair 1 program)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:${program}>
           -P ${CMAKE_SOURCE_DIR}/cmake/check_startup_imports.cmake)
endforeach()
set(release_exe $<TARGET_FILE:HXT_GMouse_release>)
add_custom_command(TARGET HXT_GMouse_release POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${release_exe} ${release_exe}.debug
  COMMAND ${CMAKE_OBJCOPY} --strip-all ${release_exe}
  COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${release_exe}.debug ${release_exe}
  COMMENT "Stripping release/HXT_GMouse.exe, its symbols kept in HXT_GMouse.exe.debug")

# What ships beside the exe. The user's config.ini in the build tree is kept.
add_custom_command(TARGET HXT_GMouse POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/data -DDST=$<TARGET_FILE_DIR:HXT_GMouse>
          -P ${CMAKE_SOURCE_DIR}/cmake/lay_out_data.cmake)

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One executable for all Win32 tests: every Wine process start costs a second or two.
file(GLOB_RECURSE HXT_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(HXT_WIN32_TESTS)
  add_executable(hxt_win32_tests ${HXT_WIN32_TESTS} ${HXT_RC})
  target_include_directories(hxt_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(hxt_win32_tests hxt_icon)
  target_compile_options(hxt_win32_tests PRIVATE ${HXT_WARNINGS})
  # The tests write their pictures of known colours with GDI+'s encoders.
  target_link_libraries(hxt_win32_tests PRIVATE hxt_shell gdiplus gtest gtest_main)
  target_precompile_headers(hxt_win32_tests PRIVATE ${HXT_WINDOWS_HEADERS} ${HXT_COMMON_HEADERS} <gtest/gtest.h>)
  target_compile_definitions(hxt_win32_tests PRIVATE HXT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME win32_tests COMMAND hxt_win32_tests --gtest_brief=1)
  set_tests_properties(win32_tests PROPERTIES TIMEOUT 600)
endif()

# The window benchmarks, the real main window under Wine, run by hand, never by ctest: a repaint
# after a press, a host configuration switch from a mouse press to the apply's last report, and a
# program profile's switch from the foreground's change to it.
foreach(bench repaint host_switch profile_switch)
  add_executable(${bench}_bench ${CMAKE_SOURCE_DIR}/tests/bench/${bench}_win32_bench.cpp ${HXT_RC})
  target_include_directories(${bench}_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(${bench}_bench hxt_icon)
  target_compile_options(${bench}_bench PRIVATE ${HXT_WARNINGS})
  target_link_libraries(${bench}_bench PRIVATE hxt_shell)
endforeach()

# Macro delays with the program's sleeper under Wine, run by hand as well.
add_executable(macro_timing_bench ${CMAKE_SOURCE_DIR}/tests/bench/macro_timing_win32_bench.cpp)
target_include_directories(macro_timing_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(macro_timing_bench PRIVATE ${HXT_WARNINGS})
target_link_libraries(macro_timing_bench PRIVATE hxt_shell)

# A window that logs the keys and mouse buttons it receives, for the end-to-end tests to watch.
add_executable(key_logger WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/key_logger_win32.cpp)
target_compile_options(key_logger PRIVATE ${HXT_WARNINGS})
target_link_options(key_logger PRIVATE -municode)
target_link_libraries(key_logger PRIVATE user32 shell32)
# A window to bring to the front, copied under the names of programs bound to slots.
add_executable(stand_in_program WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/stand_in_program_win32.cpp)
target_compile_options(stand_in_program PRIVATE ${HXT_WARNINGS})
target_link_options(stand_in_program PRIVATE -municode)
target_link_libraries(stand_in_program PRIVATE user32 shell32)

# End-to-end tests: scripts that drive the real exe under Wine and Xvfb.
file(GLOB HXT_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.sh)
foreach(script ${HXT_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script} $<TARGET_FILE:HXT_GMouse>)
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
    ENVIRONMENT "HXT_SOURCE_DIR=${CMAKE_SOURCE_DIR};HXT_BUILD_DIR=${CMAKE_BINARY_DIR};HXT_DIST_DIR=${HXT_DIST_DIR};HXT_RELEASE_EXE=${release_exe};HXT_OBJDUMP=${CMAKE_OBJDUMP}")
endforeach()
include(${CMAKE_SOURCE_DIR}/cmake/skin.cmake)

# The folder to copy to Windows, and a zip of it, in HXT_DIST_DIR.
set(HXT_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Where the folder for Windows and its zip go")
file(GLOB HXT_SHIPPED_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
add_custom_command(OUTPUT ${HXT_DIST_DIR}/HXT_GMouse.zip
  COMMAND ${CMAKE_COMMAND} -DEXE=${release_exe} -DDATA=${CMAKE_SOURCE_DIR}/data -DSKINS=${HXT_SKIN_DIR}
          -DDIST=${HXT_DIST_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/make_dist.cmake
  DEPENDS HXT_GMouse_release ${HXT_SKIN_STAMP} ${HXT_SHIPPED_DATA} ${CMAKE_SOURCE_DIR}/cmake/make_dist.cmake
  COMMENT "Putting the program for Windows into ${HXT_DIST_DIR}")
add_custom_target(hxt_dist ALL DEPENDS ${HXT_DIST_DIR}/HXT_GMouse.zip)
add_dependencies(hxt_dist hxt_skin)

# The setup made from that folder, HXT_DIST_DIR/HXT_GMouse-setup.exe, carrying the version of
# resources/version.h.
find_program(HXT_MAKENSIS makensis)
if(HXT_MAKENSIS)
  set(version_header ${CMAKE_SOURCE_DIR}/resources/version.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${version_header})
  file(STRINGS ${version_header} version_line REGEX "^#define HXT_VERSION_TEXT ")
  if(NOT version_line MATCHES "\"([0-9]+\\.[0-9]+\\.[0-9]+)\"")
    message(FATAL_ERROR "no HXT_VERSION_TEXT \"N.N.N\" in ${version_header}")
  endif()
  set(HXT_VERSION ${CMAKE_MATCH_1})
  set(setup_exe ${HXT_DIST_DIR}/HXT_GMouse-setup.exe)
  add_custom_command(OUTPUT ${setup_exe}
    COMMAND ${HXT_MAKENSIS} -V2 -DVERSION=${HXT_VERSION} -DDIST=${HXT_DIST_DIR}/HXT_GMouse
            -DOUTFILE=${setup_exe} -DICON=${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico
            ${CMAKE_SOURCE_DIR}/installer/HXT_GMouse.nsi
    DEPENDS ${HXT_DIST_DIR}/HXT_GMouse.zip ${CMAKE_SOURCE_DIR}/installer/HXT_GMouse.nsi ${version_header}
            ${CMAKE_BINARY_DIR}/generated/HXT_GMouse.ico
    COMMENT "Making the setup ${setup_exe}")
  add_custom_target(hxt_setup ALL DEPENDS ${setup_exe})
  add_dependencies(hxt_setup hxt_dist hxt_icon)
else()
  message(WARNING "makensis was not found (Debian package nsis): no setup is made, only the dist folder and its zip")
endif()

# The start-up benchmark's floor: an empty window (tools/startup_bench.sh).
add_executable(empty_window WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/empty_window_win32.cpp)
target_compile_options(empty_window PRIVATE ${HXT_WARNINGS})
target_link_options(empty_window PRIVATE -municode)
target_link_libraries(empty_window PRIVATE user32 gdi32)
