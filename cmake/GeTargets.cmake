# Helpers shared by every folder's CMakeLists.

# ge_headers(<target> <PUBLIC|INTERFACE> [HEADERS <files...>])
# Gives a library the headers of its own folder and nothing else: they are
# linked one by one into an include folder of the library's own in the build
# tree (include/<target>/<folder>/<name>.h), so "editor/ChildWin.h" is found
# only by code that links editor, directly or through the public links of
# another library. The headers of a subfolder (platform/gui/ under platform/)
# belong to the subfolder's library. Without HEADERS, every .h of the
# calling folder.
function(ge_headers target scope)
  cmake_parse_arguments(ARG "" "" "HEADERS" ${ARGN})
  if(ARG_HEADERS)
    set(headers ${ARG_HEADERS})
  else()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    get_filename_component(header_name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${folder}/${header_name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
  set_property(TARGET ${target} PROPERTY GE_FOLDER ${folder})
  set_property(TARGET ${target} PROPERTY GE_HEADERS ${headers})
  set_property(GLOBAL APPEND PROPERTY GE_LAYERED ${target})
endfunction()

# ge_library(<name> [SOURCES <files...>] [HEADERS <files...>] DEPS <targets...>)
# One static library from every .cpp of the calling folder (or SOURCES),
# exposing the folder's headers (or HEADERS) to what links it.
function(ge_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES;HEADERS" ${ARGN})
  if(ARG_SOURCES)
    set(srcs ${ARG_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  ge_headers(${name} PUBLIC HEADERS ${ARG_HEADERS})
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
  set_property(GLOBAL APPEND PROPERTY GE_PROGRAMS ${name})
  target_link_libraries(${name} PRIVATE ge_test_main platform_testing ${ARG_DEPS} GTest::gtest GTest::gmock)
  # The tests' own code is not optimized: the program's libraries it drives
  # are, and the test code compiles in half the time.
  target_compile_options(${name} PRIVATE -O0)
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

# ge_write_layers(<file>)
# Writes what scripts/check-layers compares the includes with: for every
# library of the program its folder, headers and sources, and the libraries
# it links (all of them, and those it passes on to what links it); for the
# program and the test binaries their sources and links.
#   library <name> <folder>      header <name> <path>     source <name> <path>
#   link <name> <library>        public <name> <library>
# Paths are relative to the source root.
function(ge_write_layers file)
  get_property(libraries GLOBAL PROPERTY GE_LAYERED)
  get_property(programs GLOBAL PROPERTY GE_PROGRAMS)
  set(text "")
  foreach(target IN LISTS libraries programs)
    get_target_property(type ${target} TYPE)
    get_target_property(dir ${target} SOURCE_DIR)
    if(target IN_LIST libraries)
      get_target_property(folder ${target} GE_FOLDER)
      string(APPEND text "library ${target} ${folder}\n")
      get_target_property(headers ${target} GE_HEADERS)
      foreach(header IN LISTS headers)
        file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${header})
        string(APPEND text "header ${target} ${path}\n")
      endforeach()
    endif()
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(sources ${target} SOURCES)
      foreach(source IN LISTS sources)
        if(NOT IS_ABSOLUTE ${source})
          set(source ${dir}/${source})
        endif()
        file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${source})
        string(APPEND text "source ${target} ${path}\n")
      endforeach()
      get_target_property(links ${target} LINK_LIBRARIES)
    else()
      get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    endif()
    foreach(link IN LISTS links)
      if(link IN_LIST libraries)
        string(APPEND text "link ${target} ${link}\n")
      endif()
    endforeach()
    # What a dependant sees: the public and interface links (private links
    # of a static library appear here as $<LINK_ONLY:...> and give no headers).
    get_target_property(public ${target} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS public)
      if(link IN_LIST libraries)
        string(APPEND text "public ${target} ${link}\n")
      endif()
    endforeach()
  endforeach()
  file(WRITE ${file}.new "${text}")
  file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
  file(REMOVE ${file}.new)
endfunction()
