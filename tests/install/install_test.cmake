# Run by CTest with cmake -P: installs BUILD_DIR under WORK_DIR/prefix, checks what is there,
# then builds and runs the consumer programs with find_package and with pkg-config.

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "failed (${status}): ${command}\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# expect_output(pattern program args...): runs the program; its output must match the pattern.
function(expect_output expected)
  run(${ARGN})
  if(NOT output MATCHES "${expected}")
    message(FATAL_ERROR "${ARGN} printed:\n${output}\nexpected a match of: ${expected}")
  endif()
  message(STATUS "ok: ${ARGN}")
endfunction()

set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# ---- install -------------------------------------------------------------------------------
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

file(GLOB_RECURSE config "${prefix}/*/ztldataConfig.cmake")
file(GLOB_RECURSE pc_file "${prefix}/*/ztldata.pc")
file(GLOB_RECURSE shared "${prefix}/*/libztldata.so")
file(GLOB_RECURSE static "${prefix}/*/libztldata.a")
foreach(found config pc_file shared static)
  if(NOT ${found})
    message(FATAL_ERROR "the install has no ${found}")
  endif()
endforeach()
foreach(file include/ztldata.h include/ztldata/ztldata.hpp include/ztldata/frame/variant.hpp bin/ztl
             share/man/man1/ztl.1)
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "the install has no ${file}")
  endif()
endforeach()
# Exactly the public headers, and they include only each other: nothing of src/ is installed
# or needed.
file(GLOB_RECURSE installed_headers RELATIVE "${prefix}/include/ztldata" "${prefix}/include/ztldata/*")
file(GLOB_RECURSE public_headers RELATIVE "${SOURCE_DIR}/include/ztldata" "${SOURCE_DIR}/include/ztldata/*.hpp")
list(SORT installed_headers)
list(SORT public_headers)
if(NOT installed_headers STREQUAL public_headers)
  message(FATAL_ERROR "the installed headers are not the public ones:\n${installed_headers}\n${public_headers}")
endif()
foreach(header ${installed_headers})
  file(STRINGS "${prefix}/include/ztldata/${header}" includes REGEX "^#include \"")
  foreach(line ${includes})
    if(NOT line MATCHES "^#include \"ztldata/")
      message(FATAL_ERROR "the installed ${header} includes a private header: ${line}")
    endif()
  endforeach()
endforeach()
get_filename_component(libdir "${shared}" DIRECTORY)
expect_output("^3628800" "${prefix}/bin/ztl" call ZtNumeric.Factorial 10)

# ---- find_package ----------------------------------------------------------------------------
set(build "${WORK_DIR}/consumer-build")
run("${CMAKE_COMMAND}" -S "${CONSUMER_DIR}" -B "${build}" -G "${GENERATOR}"
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" "-DCMAKE_C_COMPILER=${C_COMPILER}"
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
    -DCMAKE_BUILD_TYPE=Release)
run("${CMAKE_COMMAND}" --build "${build}")
foreach(program consumer_cpp consumer_cpp_static)
  expect_output("ZtNumeric.Factorial\\(10\\) = 3628800\nMCMXCIV\n" "${build}/${program}")
endforeach()
foreach(program consumer_c consumer_c_static)
  expect_output("Factorial\\(10\\) = 3628800\nMCMXCIV\n" "${build}/${program}")
endforeach()
# The shared programs use the installed library, not the build tree's.
run(ldd "${build}/consumer_c")
if(NOT output MATCHES "${libdir}/libztldata.so")
  message(FATAL_ERROR "consumer_c does not use the installed library:\n${output}")
endif()

# ---- pkg-config ------------------------------------------------------------------------------
find_program(PKG_CONFIG pkg-config)
if(NOT PKG_CONFIG)
  message(STATUS "pkg-config not found: its consumer is not built")
  return()
endif()
set(ENV{PKG_CONFIG_PATH} "${libdir}/pkgconfig")
run("${PKG_CONFIG}" --cflags --libs ztldata)
separate_arguments(pc_flags UNIX_COMMAND "${output}")
separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS} ${LINKER_FLAGS}")
run("${C_COMPILER}" -std=c99 ${c_flags} "${CONSUMER_DIR}/main.c" ${pc_flags} -o "${WORK_DIR}/consumer_pc")
set(ENV{LD_LIBRARY_PATH} "${libdir}")
expect_output("Factorial\\(10\\) = 3628800\nMCMXCIV\n" "${WORK_DIR}/consumer_pc")
run("${PKG_CONFIG}" --modversion ztldata)
message(STATUS "pkg-config: ztldata ${output}")
