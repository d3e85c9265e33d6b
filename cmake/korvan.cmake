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

# Every folder below the calling CMakeLists.txt that holds .cpp files is
# listed in the global property `prop` (`skip` aside), so a folder added
# without its target fails here instead of going unbuilt or untested.
function(korvan_check_folders prop skip what)
  get_property(_dirs GLOBAL PROPERTY ${prop})
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(RELATIVE_PATH _top ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(_f ${_all})
    get_filename_component(_d ${_f} DIRECTORY)
    if(NOT _d STREQUAL skip AND NOT _d IN_LIST _dirs)
      message(FATAL_ERROR "${_top}/${_d} holds sources but ${what}")
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


# Stops the configure when the link closure of target (its libraries, theirs,
# and so on) reaches one of the libraries given after it.
function(korvan_check_not_linked target)
  set(_seen "")
  set(_todo ${target})
  while(_todo)
    list(POP_FRONT _todo _t)
    if(_t IN_LIST _seen OR NOT TARGET ${_t})
      continue()
    endif()
    list(APPEND _seen ${_t})
    get_target_property(_libs ${_t} INTERFACE_LINK_LIBRARIES)
    if(NOT _libs)
      continue()
    endif()
    foreach(_l ${_libs})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" _l "${_l}")
      if(_l IN_LIST ARGN)
        message(FATAL_ERROR "${target} must not link ${_l} (reached through ${_t})")
      endif()
      list(APPEND _todo ${_l})
    endforeach()
  endwhile()
endfunction()
