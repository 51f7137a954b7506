# Build settings shared by every target, and the helpers that the component
# folders use to declare libraries, programs and tests.

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(KX_FUZZ "Build the libFuzzer targets of the logic (clang) instead of the tests" OFF)

# Every literal becomes Shift-JIS bytes, whatever the target. clang, which
# only the fuzzing build uses, knows no other execution character set than
# UTF-8; the fuzzers exercise parsers of bytes, not the texts of literals.
add_compile_options(-Wall -Wextra -finput-charset=UTF-8)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-fexec-charset=CP932)
endif()

if(WIN32)
  set(KX_WINDOWS ON)
  # The deliverables load on Windows XP SP2 and later: the headers declare
  # nothing newer, and a later function is reached only through the typed
  # loader with a fallback. The floor check (windows_floor) reads what the
  # binaries import. Tests and test tools, which never ship, are compiled for
  # Windows 7: kx_test() and kx_later_windows_here() mark them.
  define_property(TARGET PROPERTY KX_LATER_WINDOWS INHERITED
    BRIEF_DOCS "compiled for Windows 7, not for the deliverables' floor")
  define_property(DIRECTORY PROPERTY KX_LATER_WINDOWS INHERITED
    BRIEF_DOCS "the folder's targets are compiled for Windows 7")
  set(kx_later "$<BOOL:$<TARGET_PROPERTY:KX_LATER_WINDOWS>>")
  add_compile_definitions("$<IF:${kx_later},_WIN32_WINNT=0x0601,_WIN32_WINNT=0x0501>"
                          "$<IF:${kx_later},WINVER=0x0601,WINVER=0x0501>" NOMINMAX STRICT)
  # Static runtime: no mingw DLLs beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(KX_RUNS_TESTS ON)   # this build runs under wine64
  else()
    # 32-bit code cannot run on this kernel: the shipping build's Windows
    # tests run under the i386 Wine emulated by qemu-user, a few times
    # slower than under wine64 (minutes where a test draws much through
    # Direct3D or OpenGL, which Mesa renders in software, emulated).
    option(KX_EMULATED_TESTS "Build the Windows tests of this 32-bit build, to run them under the emulated i386 Wine" OFF)
    set(KX_RUNS_TESTS ${KX_EMULATED_TESTS})
  endif()
else()
  set(KX_WINDOWS OFF)
  set(KX_RUNS_TESTS ON)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  if(KX_FUZZ)
    # Coverage of every library a fuzzer links, not only of its own sources.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
# Test programs live apart from what is installed.
set(KX_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/testbin)

if(KX_WINDOWS AND KX_RUNS_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
elseif(NOT KX_WINDOWS)
  find_package(GTest REQUIRED)
endif()

add_custom_target(kx_tests)
add_custom_target(kx_fuzzers)

# kx_library(name [WIN32_ONLY] SOURCES ... [DEPS ...])
# A static library. Logic libraries build on every target; WIN32_ONLY ones
# (the Win32 layer) only for the Windows targets.
function(kx_library name)
  cmake_parse_arguments(A "WIN32_ONLY" "" "SOURCES;DEPS" ${ARGN})
  if(A_WIN32_ONLY AND NOT KX_WINDOWS)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# kx_test(name SOURCES ... [DEPS ...] [WINDOWS] [SERIAL] [SLOW_EMULATED] [TIMEOUT s])
# A GoogleTest program. Without WINDOWS it is a native unit test of the logic;
# with WINDOWS it is built for Windows and run under Wine by ctest: wine64 for
# the win64 preset, the emulated i386 Wine for the win32 preset. SLOW_EMULATED
# marks a test that takes minutes there (label slow32): scripts/test leaves
# it to the fuller 32-bit run of scripts/test32.
function(kx_test name)
  cmake_parse_arguments(A "WINDOWS;SERIAL;SLOW_EMULATED" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  set(emulated OFF)
  if(A_WINDOWS AND KX_WINDOWS AND NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(emulated ON)
  endif()
  if(NOT KX_RUNS_TESTS OR KX_FUZZ)
    return()
  endif()
  if(A_WINDOWS AND NOT KX_WINDOWS)
    return()
  endif()
  if(NOT A_WINDOWS AND KX_WINDOWS)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KX_TEST_BIN_DIR}
                                           KX_LATER_WINDOWS ON)
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest_main)
  if(NOT KX_WINDOWS)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(emulated AND A_SLOW_EMULATED)
    set_tests_properties(${name} PROPERTIES LABELS "windows;slow32")
  elseif(A_WINDOWS)
    set_tests_properties(${name} PROPERTIES LABELS windows)
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
  if(A_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
  endif()
  if(A_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  endif()
  add_dependencies(kx_tests ${name})
endfunction()

# kx_fuzz(name SOURCES ... [DEPS ...] [SECONDS s])
# A libFuzzer program (LLVMFuzzerTestOneInput) over the logic, built only in
# the fuzz preset (clang, with AddressSanitizer and UBSan). ctest runs it for
# a few seconds from an empty corpus; longer runs are started by hand:
#   build/fuzz/fuzzbin/<name> -max_total_time=600
function(kx_fuzz name)
  cmake_parse_arguments(A "" "SECONDS" "SOURCES;DEPS" ${ARGN})
  if(NOT KX_FUZZ)
    return()
  endif()
  if(NOT A_SECONDS)
    set(A_SECONDS 10)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzbin)
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${A_SECONDS} -print_final_stats=1)
  set_tests_properties(${name} PROPERTIES LABELS fuzz)
  add_dependencies(kx_fuzzers ${name})
endfunction()

# kx_def(input output [NONAME])
# Writes a module-definition file for this target from `input`, whose export
# lines carry the 32-bit stdcall decoration ("Name@8 @27"). The 32-bit build
# keeps it (a DLL linked with --kill-at still exports the plain name); the
# 64-bit build has no decoration. NONAME makes every entry an import by
# ordinal only.
function(kx_def input output)
  cmake_parse_arguments(A "NONAME" "" "" ${ARGN})
  file(READ ${input} text)
  if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
    string(REGEX REPLACE "([A-Za-z0-9_]+)@[0-9]+([ \t\n])" "\\1\\2" text "${text}")
  endif()
  if(A_NONAME)
    string(REGEX REPLACE "([ \t]@[0-9]+)([ \t]*\n)" "\\1 NONAME\\2" text "${text}")
  endif()
  file(WRITE ${output}.tmp "${text}")
  configure_file(${output}.tmp ${output} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()

# kx_import_library(name def_input [NONAME])
# An import library lib<name>.a made from a decorated .def (see kx_def), as
# an INTERFACE target `name` to link against. A 32-bit caller refers to a
# stdcall function by its decorated name ("_Name@8"); the library maps it to
# the plain name that a DLL linked with --kill-at exports (dlltool -k). Built
# with everything: the SDK of the release package ships it.
function(kx_import_library name def_input)
  cmake_parse_arguments(A "NONAME" "" "" ${ARGN})
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  if(A_NONAME)
    kx_def(${def_input} ${def} NONAME)
  else()
    kx_def(${def_input} ${def})
  endif()
  set(lib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${name}.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${def} -l ${lib}
    DEPENDS ${def} ${def_input}
    COMMENT "Import library ${name}")
  add_custom_target(${name}_implib ALL DEPENDS ${lib})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${lib})
  add_dependencies(${name} ${name}_implib)
  # For the release package, which ships both files.
  set_target_properties(${name} PROPERTIES KX_IMPORT_LIBRARY ${lib} KX_DEF_FILE ${def})
endfunction()

# kx_version_resource(target DESCRIPTION text)
# The version resource of a deliverable: the project's version (set once, in
# project()) as file and product version, the product name, `text` as the
# file description and the file's name. The texts are Japanese, in the block
# of code page 932.
function(kx_version_resource target)
  cmake_parse_arguments(A "" "DESCRIPTION" "" ${ARGN})
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "SHARED_LIBRARY")
    set(KX_VERSION_TYPE VFT_DLL)
    set(KX_VERSION_FILE ${name}.dll)
  else()
    set(KX_VERSION_TYPE VFT_APP)
    set(KX_VERSION_FILE ${name}.exe)
  endif()
  set(KX_VERSION_INTERNAL ${name})
  set(KX_VERSION_DESCRIPTION "${A_DESCRIPTION}")
  set(KX_VERSION ${CMAKE_PROJECT_VERSION})
  set(tweak 0)
  if(NOT "${CMAKE_PROJECT_VERSION_TWEAK}" STREQUAL "")
    set(tweak ${CMAKE_PROJECT_VERSION_TWEAK})
  endif()
  set(KX_VERSION_COMMAS
      "${CMAKE_PROJECT_VERSION_MAJOR},${CMAKE_PROJECT_VERSION_MINOR},${CMAKE_PROJECT_VERSION_PATCH},${tweak}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# kx_later_windows_here()
# The targets of the calling folder and of its subfolders are test tools,
# compiled for Windows 7: they never ship, and may use what XP lacks.
# Nothing that is linked into a deliverable may live there.
function(kx_later_windows_here)
  set_property(DIRECTORY PROPERTY KX_LATER_WINDOWS ON)
endfunction()

# kx_windows_floor(target)
# A deliverable: linked with the objects that keep its imports within
# Windows XP SP2 (see platform/win32/tick_count_import.cpp), and checked by
# the windows_floor test.
function(kx_windows_floor target)
  target_link_libraries(${target} PRIVATE kx_tick_count_import)
  set_property(GLOBAL APPEND PROPERTY KX_DELIVERABLES ${target})
endfunction()
