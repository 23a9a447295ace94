# Thin helpers that keep the per-area build files to one line each.

set(ZTL_WARNINGS -Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion)
# -Wno-restrict: GCC 12 reports impossible overlaps in "text" + std::string (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND ZTL_WARNINGS -Wno-restrict)
endif()
# Every floating-point step rounds on its own, as the results must be bit for bit those of the
# written formulas: no fused multiply-add, whatever the target machine offers.
set(ZTL_FLOAT_RULES -ffp-contract=off)
# The layers, from the bottom. Each sees only its own headers and those of the layers below
# it (an area sees no other area); see ztl_add_layer.
set(ZTL_LAYERS_BELOW_base "")
set(ZTL_LAYERS_BELOW_platform base)
set(ZTL_LAYERS_BELOW_frame base platform)
set(ZTL_AREAS numbers dates text collections containers coding)
foreach(area ${ZTL_AREAS})
  set(ZTL_LAYERS_BELOW_${area} base platform frame)
endforeach()

# ztl_add_layer(layer): an object library built from src/<layer>/*.cpp, linking only the
# layers below it. Its include path is a folder of links made at configure time that holds
# just those layers, private (src/<layer>) and public (include/ztldata/<layer>) headers alike,
# so an include of a layer above or beside it names a file that is not there and fails to
# compile. tests/source_rules_test.py walks the sources for the same rule.
function(ztl_add_layer layer)
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp")
  set(view "${PROJECT_BINARY_DIR}/layers/${layer}")
  file(REMOVE_RECURSE "${view}")
  file(MAKE_DIRECTORY "${view}/ztldata")
  foreach(visible ${ZTL_LAYERS_BELOW_${layer}} ${layer})
    if(EXISTS "${PROJECT_SOURCE_DIR}/src/${visible}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${visible}" "${view}/${visible}" SYMBOLIC)
    endif()
    if(EXISTS "${PROJECT_SOURCE_DIR}/include/ztldata/${visible}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/include/ztldata/${visible}" "${view}/ztldata/${visible}" SYMBOLIC)
    endif()
  endforeach()
  add_library(ztl_${layer} OBJECT ${sources})
  target_include_directories(ztl_${layer} PRIVATE "${view}")
  target_compile_options(ztl_${layer} PRIVATE ${ZTL_WARNINGS} ${ZTL_FLOAT_RULES})
  foreach(below ${ZTL_LAYERS_BELOW_${layer}})
    target_link_libraries(ztl_${layer} PRIVATE ztl_${below})
  endforeach()
endfunction()

# ztl_add_library(name areas...): the library made of the given areas' objects, twice: `name`,
# a static library (what the in-tree tools, tests and benchmarks link, and installed as
# libname.a), and `name_shared`, the same objects as libname.so.MAJOR.MINOR. Installed, they are
# the targets ztldata::ztldata (shared) and ztldata::ztldata_static.
function(ztl_add_library name)
  set(objects)
  foreach(area ${ARGN})
    if(TARGET ztl_${area})
      list(APPEND objects $<TARGET_OBJECTS:ztl_${area}>)
    endif()
  endforeach()
  add_library(${name} STATIC ${objects})
  add_library(${name}_shared SHARED ${objects})
  # Before 1.0 a minor version may change the binary interface, so it is part of the SONAME.
  set_target_properties(${name}_shared PROPERTIES
    OUTPUT_NAME ${name} EXPORT_NAME ${name}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${name}_static)
  foreach(target ${name} ${name}_shared)
    target_include_directories(${target} PUBLIC
      "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>" "$<INSTALL_INTERFACE:include>")
    target_compile_features(${target} PUBLIC cxx_std_20)
    # The library's own floating-point rules; a consumer's code keeps its own.
    target_compile_options(${target} INTERFACE "$<BUILD_INTERFACE:${ZTL_FLOAT_RULES}>")
  endforeach()
  target_link_libraries(${name} PUBLIC ICU::uc ICU::i18n
    PRIVATE Freetype::Freetype Fontconfig::Fontconfig ${CMAKE_DL_LIBS})
  target_link_libraries(${name}_shared PRIVATE ICU::uc ICU::i18n Freetype::Freetype Fontconfig::Fontconfig
    ${CMAKE_DL_LIBS})
  add_library(ztldata::${name} ALIAS ${name})
  add_library(ztldata::${name}_shared ALIAS ${name}_shared)
endfunction()

# ztl_add_test(name sources...): a GoogleTest program registered with CTest.
function(ztl_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ztldata ztl_private_headers GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${ZTL_WARNINGS} -Wno-conversion)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
