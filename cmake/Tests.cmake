# Test registration for the native and the Wine test trees.

set(SWK_TESTS OFF)
if(SWK_BUILD MATCHES "^(native|wintest)$")
  set(SWK_TESTS ON)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

set(SWK_WINE_LOADER wine CACHE STRING "Wine loader that runs the test programs")
set(SWK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(SWK_WINEARCH win64)
else()
  set(SWK_WINEARCH win32)
endif()
set(SWK_WINE_ENV
  "WINEPREFIX=${SWK_WINEPREFIX}" "WINEARCH=${SWK_WINEARCH}" "WINE_LOADER=${SWK_WINE_LOADER}"
  "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=" "LC_ALL=C.UTF-8")

# swk_test_program(NAME SOURCES... LIBS libs...) builds a GoogleTest program.
function(swk_test_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_LIBS MATCHES "swk_test_main")
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
endfunction()

# swk_fixtures_definition(TARGET) tells a test program where the checked-in test files
# (mapfile/tests/fixtures) are: SWK_FIXTURES, a path that Wine's drive Z: reaches too.
function(swk_fixtures_definition target)
  set(dir ${CMAKE_SOURCE_DIR}/mapfile/tests/fixtures)
  if(WIN32)
    set(dir Z:${dir})
  endif()
  target_compile_definitions(${target} PRIVATE SWK_FIXTURES="${dir}")
endfunction()

# swk_add_test(TARGET [WIN98] [NT4]) runs a test program natively, or under Wine in the test
# prefix. WIN98 adds a second run with Wine reporting Windows 98 to the program, NT4 one
# with Wine reporting Windows NT 4.0.
function(swk_add_test target)
  cmake_parse_arguments(ARG "WIN98;NT4" "" "" ${ARGN})
  if(NOT WIN32)
    add_test(NAME native.${target} COMMAND ${target})
    return()
  endif()
  add_test(NAME wine.${target} COMMAND ${SWK_WINE_LOADER} $<TARGET_FILE:${target}>)
  set_tests_properties(wine.${target} PROPERTIES ENVIRONMENT "${SWK_WINE_ENV}"
    FIXTURES_REQUIRED wineprefix RESOURCE_LOCK wineprefix)
  if(ARG_WIN98)
    # Wine picks the reported version by the program's file name.
    set(copy ${target}_w98.exe)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/${copy})
    add_test(NAME wine.${target}_w98 COMMAND ${SWK_WINE_LOADER} $<TARGET_FILE_DIR:${target}>/${copy})
    set_tests_properties(wine.${target}_w98 PROPERTIES ENVIRONMENT "${SWK_WINE_ENV}"
      FIXTURES_REQUIRED wineprefix RESOURCE_LOCK wineprefix)
    set_property(GLOBAL APPEND PROPERTY SWK_WIN98_PROGRAMS ${copy})
  endif()
  if(ARG_NT4)
    set(copy ${target}_nt4.exe)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/${copy})
    add_test(NAME wine.${target}_nt4 COMMAND ${SWK_WINE_LOADER} $<TARGET_FILE_DIR:${target}>/${copy})
    set_tests_properties(wine.${target}_nt4 PROPERTIES ENVIRONMENT "${SWK_WINE_ENV}"
      FIXTURES_REQUIRED wineprefix RESOURCE_LOCK wineprefix)
    set_property(GLOBAL APPEND PROPERTY SWK_NT4_PROGRAMS ${copy}=nt40)
  endif()
endfunction()

# The throw-away Wine prefix: made once before the Wine tests, removed after them.
function(swk_add_wine_prefix_fixture)
  if(NOT WIN32 OR NOT SWK_BUILD STREQUAL "wintest")
    return()
  endif()
  get_property(win98 GLOBAL PROPERTY SWK_WIN98_PROGRAMS)
  get_property(nt4 GLOBAL PROPERTY SWK_NT4_PROGRAMS)
  add_test(NAME wine.prefix.setup
    COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh setup ${SWK_WINEPREFIX} ${win98} ${nt4})
  add_test(NAME wine.prefix.cleanup
    COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh cleanup ${SWK_WINEPREFIX})
  set_tests_properties(wine.prefix.setup PROPERTIES ENVIRONMENT "${SWK_WINE_ENV}"
    FIXTURES_SETUP wineprefix RESOURCE_LOCK wineprefix)
  set_tests_properties(wine.prefix.cleanup PROPERTIES ENVIRONMENT "${SWK_WINE_ENV}"
    FIXTURES_CLEANUP wineprefix RESOURCE_LOCK wineprefix)
endfunction()
