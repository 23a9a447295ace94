# Thin helpers that keep the per-area build files to one line each.

# -Wno-restrict: GCC 12 reports impossible overlaps in "text" + std::string (its bug 105329).
set(ZTL_WARNINGS -Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion -Wno-restrict)
# Every floating-point step rounds on its own, as the results must be bit for bit those of the
# written formulas: no fused multiply-add, whatever the target machine offers.
set(ZTL_FLOAT_RULES -ffp-contract=off)
# GCC 12 at -O2 drops the store that gives a small struct (a Date, a Currency) its value when
# a later step that would assign it throws: `Date r{}; Attempt([&] { r = F(); }); return r;`
# returns garbage when F fails. Every operation relies on exactly that pattern, so the dead-store
# pass that makes the mistake is off (tests/frame/failure_test.cpp keeps watch).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND ZTL_FLOAT_RULES -fno-tree-dse)
endif()

# ztl_add_area(area): an object library built from src/<area>/*.cpp.
function(ztl_add_area area)
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${area}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_library(ztl_${area} OBJECT ${sources})
  target_include_directories(ztl_${area}
    PUBLIC  "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>"
    PRIVATE "${PROJECT_SOURCE_DIR}/src")
  target_compile_options(ztl_${area} PRIVATE ${ZTL_WARNINGS} ${ZTL_FLOAT_RULES})
  target_link_libraries(ztl_${area} PRIVATE nlohmann_json::nlohmann_json ICU::uc ICU::i18n
    Freetype::Freetype Fontconfig::Fontconfig)
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
  # Private headers of src/ are visible to the in-tree hosts and tests, never installed.
  target_include_directories(${name} INTERFACE "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>")
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
  target_link_libraries(${name} PRIVATE ztldata GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${ZTL_WARNINGS} -Wno-conversion)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
