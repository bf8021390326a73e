# GoogleTest from Debian's sources, built with the cross compiler, and a
# helper that registers one GoogleTest executable whose tests CTest runs
# under Wine (the toolchain file sets CMAKE_CROSSCOMPILING_EMULATOR).
set(QUORVIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUORVIX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources are not ours to keep warning-free.
foreach(t gtest gtest_main)
  target_compile_options(${t} PRIVATE -w)
endforeach()

include(GoogleTest)

# quorvix_add_gtest(NAME SOURCES ... [LIBS ...] [LABELS ...])
function(quorvix_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE gtest_main ${T_LIBS})
  add_dependencies(${name} wineprefix)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "unit;${T_LABELS}" TIMEOUT 300)
endfunction()
