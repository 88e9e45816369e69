# Windows build: kalvo.exe, the in-process tests and the end-to-end driver, run under Wine.
set(KALVO_WIN_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(KALVO_WIN_LINK -static -fstack-protector-strong -Wl,--dynamicbase,--nxcompat,--high-entropy-va)
set(KALVO_WIN_LIBS comdlg32 shell32 ole32 comctl32 gdi32 user32 kernel32)

target_compile_definitions(kalvo_text PRIVATE ${KALVO_WIN_DEFS})
target_compile_options(kalvo_text PRIVATE -fstack-protector-strong)

file(GLOB KALVO_UI_SOURCES CONFIGURE_DEPENDS src/ui/*.cpp)
add_library(kalvo_app STATIC ${KALVO_UI_SOURCES} src/F01.cpp src/F01_form.cpp)
target_include_directories(kalvo_app PUBLIC src)
target_compile_definitions(kalvo_app PUBLIC ${KALVO_WIN_DEFS})
target_compile_options(kalvo_app PRIVATE ${KALVO_WARNINGS} -fstack-protector-strong)
target_link_libraries(kalvo_app PUBLIC kalvo_text ${KALVO_WIN_LIBS})

set(KALVO_RESOURCES ${CMAKE_SOURCE_DIR}/res/kalvo.rc)
set_source_files_properties(${KALVO_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/kalvo.ico;${CMAKE_SOURCE_DIR}/res/kalvo.manifest")

add_executable(kalvo WIN32 src/main.cpp ${KALVO_RESOURCES})
target_compile_options(kalvo PRIVATE ${KALVO_WARNINGS} -fstack-protector-strong)
target_link_options(kalvo PRIVATE -municode -s ${KALVO_WIN_LINK})
target_link_libraries(kalvo PRIVATE kalvo_app)

# GoogleTest built with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# In-process tests: TFKalvo against the real edit control, clipboard and files.
file(GLOB KALVO_WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${KALVO_WIN_TESTS} ${KALVO_RESOURCES})
target_link_libraries(win_tests PRIVATE kalvo_app gtest)
target_compile_options(win_tests PRIVATE ${KALVO_WARNINGS})
target_link_options(win_tests PRIVATE ${KALVO_WIN_LINK})
gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES RESOURCE_LOCK wine_desktop)

# End-to-end journeys: a driver that starts kalvo.exe and uses it with real input.
file(GLOB KALVO_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(KALVO_E2E_TESTS)
  add_executable(e2e_tests ${KALVO_E2E_TESTS})
  target_include_directories(e2e_tests PRIVATE src)
  target_compile_definitions(e2e_tests PRIVATE ${KALVO_WIN_DEFS})
  target_link_libraries(e2e_tests PRIVATE gtest_main ${KALVO_WIN_LIBS})
  target_compile_options(e2e_tests PRIVATE ${KALVO_WARNINGS})
  target_link_options(e2e_tests PRIVATE ${KALVO_WIN_LINK})
  add_dependencies(e2e_tests kalvo)
  gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_LOCK wine_desktop ENVIRONMENT "KALVO_EXE=$<TARGET_FILE:kalvo>")
endif()

file(GLOB KALVO_WIN_BENCH CONFIGURE_DEPENDS bench/win_*.cpp)
if(KALVO_WIN_BENCH)
  add_executable(win_bench ${KALVO_WIN_BENCH} ${KALVO_RESOURCES})
  target_link_libraries(win_bench PRIVATE kalvo_app)
  target_link_options(win_bench PRIVATE ${KALVO_WIN_LINK})
endif()

# The scripts' window helper.
add_executable(winctl tools/winctl.cpp)
target_link_options(winctl PRIVATE -municode ${KALVO_WIN_LINK})
target_link_libraries(winctl PRIVATE user32 kernel32)

# Start-up benchmark: kalvo.exe against Wine's notepad.exe started the same way.
add_executable(startup_bench bench/startup/startup.cpp)
target_link_options(startup_bench PRIVATE -municode ${KALVO_WIN_LINK})
target_link_libraries(startup_bench PRIVATE user32 kernel32)
