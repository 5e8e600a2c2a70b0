# Shared build helpers: warnings, core libraries, tests.

function(qz_set_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(QZ_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# qz_add_core_library(<area> SOURCES... [DEPENDS libs...])
# One static library per core folder, named qz_<area>; they make up qz_core.
function(qz_add_core_library area)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  qz_existing_sources(ARG_SOURCES ${ARG_SOURCES})
  add_library(qz_${area} STATIC ${ARG_SOURCES})
  target_include_directories(qz_${area} PUBLIC ${PROJECT_SOURCE_DIR}/src/core)
  target_link_libraries(qz_${area} PUBLIC ${ARG_DEPENDS})
  qz_set_warnings(qz_${area})
  set_property(GLOBAL APPEND PROPERTY QZ_CORE_LIBRARIES qz_${area})
endfunction()

# While several people add files to one tree, a list may name a test file
# that is not written yet; QZ_LENIENT_SOURCES (off by default, never in CI)
# leaves such files out instead of stopping the configuration.
function(qz_existing_sources out)
  set(found)
  foreach(source IN LISTS ARGN)
    if(QZ_LENIENT_SOURCES AND NOT IS_ABSOLUTE ${source} AND NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${source})
      message(WARNING "left out, not written yet: ${CMAKE_CURRENT_SOURCE_DIR}/${source}")
    else()
      list(APPEND found ${source})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# qz_add_test(<name> SOURCES... LIBS...): one GoogleTest executable whose tests
# are discovered by ctest.
function(qz_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  qz_existing_sources(ARG_SOURCES ${ARG_SOURCES})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  qz_set_warnings(${name})
  set(label other)
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/tests/core/")
    set(label core)
    add_dependencies(qz_core_checks ${name})
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QZ_DATA_DIR=${CMAKE_BINARY_DIR}/bin"
               LABELS ${label}
    DISCOVERY_TIMEOUT 60)
endfunction()

# qz_add_fuzzer(<name> SOURCES... LIBS... [CORPUS dir]): a libFuzzer harness.
# Its corpus (default: corpus/ beside the calling CMakeLists.txt) is always
# replayed as a ctest through a plain driver, so the crash-free inputs stay
# crash-free with any compiler.
function(qz_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_CORPUS)
    set(ARG_CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
  endif()
  add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
  qz_set_warnings(${name}_replay)
  add_test(NAME fuzz_replay_${name}
           COMMAND ${name}_replay ${ARG_CORPUS})
  set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS fuzz)
  add_dependencies(qz_core_checks ${name}_replay)
  if(QZ_BUILD_FUZZERS)
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  endif()
endfunction()

# Adds every direct subfolder of `dir` that has a CMakeLists.txt, so each area
# keeps its tests, harnesses and benchmarks in a folder of its own.
function(qz_add_subfolders dir)
  file(GLOB children LIST_DIRECTORIES true ${dir}/*)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
