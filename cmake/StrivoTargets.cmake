# Shared compile settings and the helpers that every folder uses to declare
# its library, its programs and its tests.

set(STRIVO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
if(STRIVO_WERROR)
  list(APPEND STRIVO_WARNINGS -Werror)
endif()

if(STRIVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(strivo_settings target)
  target_compile_options(${target} PRIVATE ${STRIVO_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# strivo_library(name DIR dir [QT] [DEPS ...]): a static library of every
# .cpp in dir (not below it).
function(strivo_library name)
  cmake_parse_arguments(A "QT" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${A_DIR}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${A_DIR}/*.h)
  if(NOT srcs)
    # A folder still being written: keep its dependents configurable.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs} ${hdrs})
  strivo_settings(${name})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${name} PUBLIC ${A_DEPS} Threads::Threads)
endfunction()

# strivo_test(name DIR dir [GUI] DEPS ...): one GoogleTest program of every
# .cpp in dir, registered with CTest. GUI tests run on Qt's offscreen platform.
function(strivo_test name)
  cmake_parse_arguments(A "GUI" "DIR;TIMEOUT" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${A_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  strivo_settings(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  if(A_GUI)
    target_link_libraries(${name} PRIVATE ${A_DEPS} strivo_testsupport GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest_main GTest::gmock)
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${A_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
