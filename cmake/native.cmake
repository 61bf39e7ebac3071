# Native build: the portable code with the POSIX stand-ins of the platform
# layer, and the unit tests.
file(GLOB KELVORA_NATIVE_SOURCES CONFIGURE_DEPENDS src/platform/native/*.cpp)
add_library(kelvora_native STATIC ${KELVORA_NATIVE_SOURCES})
target_link_libraries(kelvora_native PUBLIC kelvora_core)

if(KELVORA_FUZZ)
  file(GLOB KELVORA_FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*.cpp)
  foreach(src ${KELVORA_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE kelvora_native)
  endforeach()
  target_compile_options(kelvora_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_compile_options(kelvora_native PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  return()
endif()

find_package(GTest REQUIRED)
file(GLOB KELVORA_UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp tests/unit/fakes/*.cpp)
add_executable(unit_tests ${KELVORA_UNIT_SOURCES})
target_include_directories(unit_tests PRIVATE tests/unit)
target_link_libraries(unit_tests PRIVATE kelvora_native GTest::gtest_main)
# One CTest entry: value-parameterised names would otherwise carry their raw
# parameter bytes into every CTest line. GoogleTest's brief output still names
# each failure.
add_test(NAME unit COMMAND unit_tests --gtest_brief=1 --gtest_color=no)
set_tests_properties(unit PROPERTIES LABELS unit TIMEOUT 600)

file(GLOB KELVORA_TOOL_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true src/tools/*)
foreach(dir ${KELVORA_TOOL_DIRS})
  if(EXISTS ${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()

# Benchmarks: small programs that print figures (run by the scripts in bench/).
file(GLOB KELVORA_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
foreach(src ${KELVORA_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE kelvora_native)
endforeach()
