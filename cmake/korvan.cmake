# One static library per source folder: every .cpp/.h directly in the folder.
# A folder without sources gets no library.
function(korvan_library name dir)
  cmake_parse_arguments(K "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT _src)
    message(FATAL_ERROR "korvan_library(${name}): src/${dir} holds no sources")
  endif()
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${K_DEPS})
  set_property(GLOBAL APPEND PROPERTY KORVAN_LIBRARY_DIRS ${dir})
endfunction()

# Every folder of src/ (and of its folders) that holds sources has its
# library: a folder added without one fails here instead of going unbuilt.
# src/app builds its own targets.
function(korvan_check_libraries)
  get_property(_dirs GLOBAL PROPERTY KORVAN_LIBRARY_DIRS)
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(_f ${_all})
    get_filename_component(_d ${_f} DIRECTORY)
    if(NOT _d STREQUAL "app" AND NOT _d IN_LIST _dirs)
      message(FATAL_ERROR "src/${_d} holds sources but no korvan_library() builds them")
    endif()
  endforeach()
endfunction()

# One test program per test folder: every .cpp directly in the folder,
# run under the shared test main (QApplication offscreen, pinned font and DPI).
function(korvan_tests name dir)
  cmake_parse_arguments(K "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  set_property(GLOBAL APPEND PROPERTY KORVAN_TEST_DIRS ${dir})
  target_link_libraries(${name} PRIVATE korvan_testsupport Qt6::Test ${K_DEPS})
  target_compile_definitions(${name} PRIVATE
    KORVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVAN_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    KORVAN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=96;LC_ALL=C.UTF-8"
               TIMEOUT 300)
endfunction()

# Every folder of tests/ that holds tests has its test program, so a folder
# added without one fails here instead of its tests never running.
function(korvan_check_tests)
  get_property(_dirs GLOBAL PROPERTY KORVAN_TEST_DIRS)
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(_f ${_all})
    get_filename_component(_d ${_f} DIRECTORY)
    if(NOT _d STREQUAL "support" AND NOT _d IN_LIST _dirs)
      message(FATAL_ERROR "tests/${_d} holds tests but no korvan_tests() runs them")
    endif()
  endforeach()
endfunction()
