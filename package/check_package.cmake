# The release package as the host application's team gets it (cmake -P; see
# package/CMakeLists.txt for the variables).
#
# STEP=check: makes the package with cpack into WORK, compares its files with
#   EXPECTED (plus the sample host's sources), checks that README.txt names
#   every export, reads the version resource of each binary under Wine
#   (PROBE), and builds the sample host from the unpacked sdk/ alone by the
#   build line of its README into bin/, checking what it imports.
# STEP=run: runs that sample host unattended beside the stand-in engine
#   (ENGINE) with the recording mail client (MAPI); it exits with the number
#   of failures it logged.

set(zip ${WORK}/${NAME}.zip)
set(root ${WORK}/${NAME})

function(fail message)
  message(FATAL_ERROR "release package: ${message}")
endfunction()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    fail("${command} ended with ${status}:\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

if(STEP STREQUAL "run")
  file(COPY ${ENGINE} DESTINATION ${root}/bin)
  set(log ${WORK}/host.log)
  file(REMOVE ${log})
  execute_process(
    COMMAND ${WINE_RUN} ${root}/bin/HostSample.exe /auto Z:${log} /nodialogs /mapi Z:${MAPI}
    RESULT_VARIABLE status)
  set(text "")
  if(EXISTS ${log})
    execute_process(COMMAND iconv -f CP932 -t UTF-8 ${log} OUTPUT_VARIABLE text)
  endif()
  if(NOT status EQUAL 0)
    fail("the sample host built from the package ended with ${status}; its log:\n${text}")
  endif()
  if(NOT text MATCHES "sample.failures = 0")
    fail("the sample host did not run to its end; its log:\n${text}")
  endif()
  # A text of the sample's own, stored through Hostkit and read back: its
  # literals are Shift-JIS, as Hostkit takes them, only when the build line
  # says so.
  if(NOT text MATCHES "extend.string2 = サンプル工房")
    fail("the sample host's texts did not reach Hostkit as Shift-JIS; its log:\n${text}")
  endif()
  message(STATUS "the sample host built from the package ran every family without a failure")
  return()
endif()

file(REMOVE_RECURSE ${WORK})
run(${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${WORK})
if(NOT EXISTS ${zip})
  fail("cpack wrote no ${zip}:\n${out}")
endif()

# What is in it: nothing missing, nothing else (no stand-in, no test program).
run(${CMAKE_COMMAND} -E tar tf ${zip})
string(REGEX REPLACE "\r?\n" ";" entries "${out}")
set(listed)
foreach(entry ${entries})
  string(REGEX REPLACE "^${NAME}/" "" entry "${entry}")
  if(entry AND NOT entry MATCHES "/$")
    list(APPEND listed ${entry})
  endif()
endforeach()
file(STRINGS ${EXPECTED} expected REGEX "^[^#]")
file(GLOB sample RELATIVE ${SAMPLE_SOURCES} ${SAMPLE_SOURCES}/*.c ${SAMPLE_SOURCES}/*.h
     ${SAMPLE_SOURCES}/README.txt)
foreach(file ${sample})
  list(APPEND expected sdk/samples/host/${file})
endforeach()
set(missing ${expected})
list(REMOVE_ITEM missing ${listed})
set(extra ${listed})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  string(REPLACE ";" "\n  " missing "${missing}")
  string(REPLACE ";" "\n  " extra "${extra}")
  fail("${zip}\nmissing:\n  ${missing}\nnot to be shipped:\n  ${extra}")
endif()
list(LENGTH listed count)
message(STATUS "${zip}: the ${count} files expected")

run(${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${WORK})

# The integrators' README names the version and every export.
file(READ ${root}/README.txt readme)
file(STRINGS ${DEF} exports REGEX "^[ \t]+[A-Za-z_]")
set(names ${VERSION})
foreach(line ${exports})
  string(REGEX MATCH "[A-Za-z_][A-Za-z0-9_]*" name "${line}")
  list(APPEND names ${name})
endforeach()
foreach(name ${names})
  string(FIND "${readme}" "${name}" at)
  if(at EQUAL -1)
    fail("README.txt does not name ${name}")
  endif()
endforeach()

# The version resource of each binary, as Windows reads it.
run(${WINE_RUN} ${PROBE} ${VERSION} Z:${root}/bin/Fitcheck.exe Z:${root}/bin/Fitview.exe
    Z:${root}/bin/Hostkit.dll)
message(STATUS "${out}")

# The sample host from the package alone, by the build line of its README.
set(sample_dir ${root}/sdk/samples/host)
file(STRINGS ${sample_dir}/README.txt line REGEX "^  \\$CC ")
if(NOT line)
  fail("no build line in ${sample_dir}/README.txt")
endif()
run(${CMAKE_COMMAND} -E env CC=${CC} sh -c "${line}" WORKING_DIRECTORY ${sample_dir})
if(NOT EXISTS ${root}/bin/HostSample.exe)
  fail("the build line wrote no bin/HostSample.exe")
endif()
run(sh ${CHECK_IMPORTS} ${OBJDUMP} ${root}/bin/HostSample.exe ${DEF})
message(STATUS "the sample host built from the package: ${out}")
