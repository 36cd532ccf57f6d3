# Project-wide compile settings and helpers.

add_compile_options(-Wall -Wextra -Werror)

if(SKIFFWIRE_FUZZ)
  # Coverage for libFuzzer in every library the fuzz targets link.
  # Undefined behaviour stops the run, so the fuzzer keeps the input.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(SKIFFWIRE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# skiffwire_layer(NAME <target> DIR <dir> [DEPS ...] [EXCLUDE <regex>...]): a layer
# library over every .cpp under DIR (less those matching an EXCLUDE regex, for
# subfolders that build as targets of their own); code includes its headers as
# "<layer path>/<Header>.h" from the repository root.
function(skiffwire_layer)
  cmake_parse_arguments(ARG "" "NAME;DIR" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  foreach(pattern ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(${ARG_NAME} STATIC ${sources})
  target_include_directories(${ARG_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
endfunction()

# skiffwire_tests(NAME <exe> DIR <dir> DEPS ...): one GoogleTest executable over
# every .cpp under DIR, registered with CTest test by test.
function(skiffwire_tests)
  cmake_parse_arguments(ARG "" "NAME;DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  # The fuzz targets build on their own; match them by their folder inside the
  # repository, not by any part of the clone's own path.
  set(kept)
  foreach(source ${sources})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
    if(NOT relative MATCHES "^tests/fuzz/")
      list(APPEND kept ${source})
    endif()
  endforeach()
  set(sources ${kept})
  if(NOT sources)
    return()
  endif()
  add_executable(${ARG_NAME} ${sources})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "SKIFFWIRE_TEST=1")
endfunction()
