# Helpers shared by every folder's CMakeLists.

# ge_library(<name> [QT] DEPS <targets...>)
# One static library from every .cpp of the calling folder.
function(ge_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(srcs ${ARG_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_property(GLOBAL APPEND PROPERTY GE_LIBRARIES ${name})
endfunction()

# ge_test(<name> GUI|CORE DEPS <targets...>)
# One GoogleTest binary from every .cpp of the calling folder, with the shared
# test main. CORE binaries open no window and also run under the sanitizers.
function(ge_test name kind)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  if(kind STREQUAL "GUI" AND GE_CORE_ONLY)
    return()
  endif()
  if(ARG_SOURCES)
    set(srcs ${ARG_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ge_test_main ${ARG_DEPS} GTest::gtest GTest::gmock)
  string(TOLOWER ${kind} label)
  set(sanitizers "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1;TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 900
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;GE_EXPECT_QPA=offscreen;${sanitizers}")
  if(kind STREQUAL "CORE")
    set_property(GLOBAL APPEND PROPERTY GE_CORE_TESTS ${name})
  endif()
  # Once more in the language of a desktop that writes fractions with a comma
  # (label ru): numbers stored and typed must read the same there. The test
  # main refuses to run when that language is not in effect.
  add_test(NAME ${name}_ru COMMAND ${name})
  set_tests_properties(${name}_ru PROPERTIES LABELS ru TIMEOUT 900
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;GE_EXPECT_QPA=offscreen;LANG=ru_RU.UTF-8;LC_ALL=ru_RU.UTF-8;GE_EXPECT_LOCALE=ru_RU.UTF-8;${sanitizers}")
  # A GUI binary once more on a private X server with a window manager, as
  # on a user's desktop (label xcb; ./test leaves these out, .ci/run runs
  # them after the rest). The test main refuses to run on another platform.
  if(kind STREQUAL "GUI")
    add_test(NAME ${name}_xcb COMMAND ${CMAKE_SOURCE_DIR}/scripts/xvfb-openbox $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_xcb PROPERTIES LABELS xcb TIMEOUT 900
      ENVIRONMENT "QT_QPA_PLATFORM=xcb;GE_EXPECT_QPA=xcb;${sanitizers}")
  endif()
endfunction()
