# One static library per source folder: every .cpp/.h directly in the folder.
function(korvan_library name dir)
  cmake_parse_arguments(K "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(_src)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${K_DEPS})
  else()
    # A folder with nothing in it yet still takes part in the dependency chain.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${K_DEPS})
  endif()
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
  target_link_libraries(${name} PRIVATE korvan_testsupport ${K_DEPS})
  target_compile_definitions(${name} PRIVATE
    KORVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KORVAN_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    KORVAN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=96;LC_ALL=C.UTF-8"
               TIMEOUT 300)
endfunction()
