# Windows build: the Win32 platform layer, the installer, its fixtures and the
# tests that run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
set(KELVORA_WIN_LIBS ole32 oleaut32 uuid shell32 shlwapi comdlg32 comctl32 gdi32 user32 advapi32 winspool windowscodecs)

file(GLOB KELVORA_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(kelvora_win32 STATIC ${KELVORA_WIN32_SOURCES})
target_link_libraries(kelvora_win32 PUBLIC kelvora_core ${KELVORA_WIN_LIBS})

if(MINGW)
  # Symbols stripped from the shipped program (the relocations stay, for ASLR).
  set(KELVORA_GUI_LINK -municode -mwindows -Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware -s)
  set(KELVORA_FIXTURE_LINK -municode -mwindows)
else()
  # MSVC: the manifest comes from the resource script.
  set(KELVORA_GUI_LINK /DYNAMICBASE /NXCOMPAT /MANIFEST:NO)
  set(KELVORA_FIXTURE_LINK "")
endif()

file(GLOB KELVORA_APP_SOURCES CONFIGURE_DEPENDS src/app/*.cpp src/app/*.rc)
add_executable(KelvoraInstall WIN32 ${KELVORA_APP_SOURCES})
# The resource compiler does not report the files a script pulls in: a changed
# manifest must still rebuild the resources.
set_source_files_properties(src/app/KelvoraInstall.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/app/KelvoraInstall.manifest)
target_link_libraries(KelvoraInstall PRIVATE kelvora_win32)
target_link_options(KelvoraInstall PRIVATE ${KELVORA_GUI_LINK})
set_target_properties(KelvoraInstall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Helpers shared by the programs that test under Wine: the win32 and e2e tests,
# the sample programs, the tools and the copy benchmark.
add_library(kelvora_wine_test_support STATIC tests/wine/WineTestSupport.cpp)
target_include_directories(kelvora_wine_test_support PUBLIC tests/wine)
target_link_libraries(kelvora_wine_test_support PUBLIC ${KELVORA_WIN_LIBS})
# Where the programs land, also under a multi-configuration generator (bin/Release).
target_compile_definitions(kelvora_wine_test_support PRIVATE
  KELVORA_BIN_DIR="$<TARGET_FILE_DIR:KelvoraInstall>" KELVORA_FIXTURE_DIR="$<TARGET_FILE_DIR:product_app>"
  KELVORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# Programs built from each source of a folder, into a folder of the build, all
# linking the helpers of the Wine levels.
function(kelvora_wine_programs sources output)
  file(GLOB files CONFIGURE_DEPENDS ${sources})
  foreach(src ${files})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} WIN32 ${src})
    target_link_options(${name} PRIVATE ${KELVORA_FIXTURE_LINK})
    target_link_libraries(${name} PRIVATE kelvora_wine_test_support)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${output})
  endforeach()
endfunction()

# Sample programs the tests and the sample distribution folder use.
kelvora_wine_programs(tests/fixtures/*.cpp fixtures)
# Programs the scripts run under Wine, not samples: the screenshot driver and
# the test printer's installer.
kelvora_wine_programs(tests/tools/*.cpp tools)

# Benchmark helpers that run under Wine (bench/*.sh starts them).
file(GLOB KELVORA_WIN_BENCH_SOURCES CONFIGURE_DEPENDS bench/win32/*.cpp)
foreach(src ${KELVORA_WIN_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  get_filename_component(dir ${src} DIRECTORY)
  add_executable(${name} ${src})
  if(EXISTS ${dir}/${name}.rc)
    target_sources(${name} PRIVATE ${dir}/${name}.rc)
  endif()
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
foreach(name bare_box bare_box_styled)
  if(TARGET ${name} AND MINGW)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endforeach()
# The copy benchmark runs the installation engine on the real platform layer,
# assembled as the win32 tests assemble it.
if(TARGET copy_folder)
  target_include_directories(copy_folder PRIVATE tests/win32)
  target_link_libraries(copy_folder PRIVATE kelvora_win32 kelvora_wine_test_support)
endif()

# GoogleTest from Debian's sources, built inside the cross build. Elsewhere
# (MSVC) the tests are built only when GoogleTest is installed.
if(EXISTS /usr/src/googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KELVORA_GTEST gtest gtest_main)
else()
  find_package(GTest QUIET)
  if(GTest_FOUND)
    set(KELVORA_GTEST GTest::gtest GTest::gtest_main)
  endif()
endif()

# One CTest entry per test executable: discovery would start Wine for every target.
foreach(level win32 e2e)
  file(GLOB sources CONFIGURE_DEPENDS tests/${level}/*.cpp)
  if(sources AND KELVORA_GTEST)
    add_executable(${level}_tests ${sources})
    target_include_directories(${level}_tests PRIVATE tests/${level})
    target_link_libraries(${level}_tests PRIVATE kelvora_win32 kelvora_wine_test_support ${KELVORA_GTEST})
    # Where the programs land, also under a multi-configuration generator (bin/Release).
    target_compile_definitions(${level}_tests PRIVATE
      KELVORA_BIN_DIR="$<TARGET_FILE_DIR:KelvoraInstall>" KELVORA_FIXTURE_DIR="$<TARGET_FILE_DIR:product_app>"
      KELVORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME ${level} COMMAND ${level}_tests --gtest_brief=1 --gtest_color=no)
    set_tests_properties(${level} PROPERTIES LABELS ${level} TIMEOUT 1500)
  endif()
endforeach()
if(TARGET e2e_tests)
  add_dependencies(e2e_tests KelvoraInstall)
  foreach(src ${KELVORA_FIXTURE_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_dependencies(e2e_tests ${name})
  endforeach()
endif()
if(TARGET win32_tests)
  foreach(src ${KELVORA_FIXTURE_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_dependencies(win32_tests ${name})
  endforeach()
endif()

# Command-line tools, each with its own CMakeLists.txt (as in the native build).
file(GLOB KELVORA_TOOL_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true src/tools/*)
foreach(dir ${KELVORA_TOOL_DIRS})
  if(EXISTS ${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
