# Each folder of src/core/ is its own static library, so that a subsystem builds and
# tests without the others it does not depend on. Sources are globbed per folder.

set(VX_SRC_ROOT ${PROJECT_SOURCE_DIR}/src)
# Each core folder and the folders its library links, for the layering check.
set(VX_CORE_LAYERS ${CMAKE_BINARY_DIR}/core-layers.txt)

# vx_core_module(<name> <folder below src/core> [DEPENDS <modules/targets>...])
function(vx_core_module name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${VX_SRC_ROOT}/core/${folder}/*.cpp ${VX_SRC_ROOT}/core/${folder}/*.h)
  if(NOT sources)
    return()  # a folder whose first code has not arrived yet
  endif()
  add_library(vx_${name} STATIC ${sources})
  target_include_directories(vx_${name} PUBLIC ${VX_SRC_ROOT}/core ${PROJECT_SOURCE_DIR})
  target_link_libraries(vx_${name} PUBLIC ${ARG_DEPENDS})
  # The core is headless: a wxWidgets header anywhere below src/core fails the build, as
  # does a folder including one its library does not build on.
  add_dependencies(vx_${name} vx_check_core_headless vx_check_core_layers)
  set_property(TARGET vx_${name} PROPERTY VX_CORE_FOLDER ${folder})
  set_property(GLOBAL APPEND PROPERTY VX_CORE_MODULES vx_${name})
endfunction()

# Writes VX_CORE_LAYERS from the core libraries' links, once all of them are made.
function(vx_write_core_layers)
  get_property(modules GLOBAL PROPERTY VX_CORE_MODULES)
  set(text "")
  foreach(module IN LISTS modules)
    get_target_property(line ${module} VX_CORE_FOLDER)
    get_target_property(links ${module} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link IN_LIST modules)
        get_target_property(folder ${link} VX_CORE_FOLDER)
        string(APPEND line " ${folder}")
      endif()
    endforeach()
    string(APPEND text "${line}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${VX_CORE_LAYERS} CONTENT "${text}" @ONLY)
endfunction()

# vx_test_suite(<name> <folder below tests/> LIBS <targets>... [LABELS <labels>...] [UI]
#               [FONT_LEAKS])
# FONT_LEAKS: the suite draws text or PDF pages, whose libraries keep memory to the end.
function(vx_test_suite name folder)
  cmake_parse_arguments(ARG "UI;FONT_LEAKS" "" "LIBS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vx_test_support GTest::gtest GTest::gmock)
  if(ARG_UI)
    # Window tests need a display; xvfb-run gives each run a private one.
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES LABELS "ui;${ARG_LABELS}" TIMEOUT 300
                         ENVIRONMENT "VX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  else()
    target_link_libraries(${name} PRIVATE vx_test_main)
    # One variable per suite: gtest_discover_tests cannot pass a list. Suites without
    # VX_SOURCE_DIR find the source folder through the build folder's cache.
    set(env "VX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
    if(VX_SANITIZE AND ARG_FONT_LEAKS)
      # Full stacks: the suppressions name a cairo entry point above stripped frames.
      set(env "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:fast_unwind_on_malloc=0")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "core;${ARG_LABELS}" TIMEOUT 300
                         ENVIRONMENT "${env}")
  endif()
endfunction()
