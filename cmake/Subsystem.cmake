# Helpers shared by the subsystem folders.
#
# pandrel_core(<name> [LINKS ...]) builds <name>_core from the plain C++ files at
# the folder root, and <name>_core_tests from tests/*.cpp when that folder exists.
function(pandrel_core name)
  cmake_parse_arguments(ARG "" "" "LINKS;TEST_LINKS" ${ARGN})
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(core_sources)
    add_library(${name}_core STATIC ${core_sources})
    target_compile_options(${name}_core PRIVATE ${PANDREL_CORE_WARNINGS})
    target_include_directories(${name}_core PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name}_core PUBLIC ${ARG_LINKS})
  else()
    # Headers only, so far.
    add_library(${name}_core INTERFACE)
    target_include_directories(${name}_core INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name}_core INTERFACE ${ARG_LINKS})
  endif()
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(test_sources AND NOT PANDREL_CORES_ONLY)
    add_executable(${name}_core_tests ${test_sources})
    target_link_libraries(${name}_core_tests PRIVATE ${name}_core ${ARG_TEST_LINKS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name}_core_tests PRIVATE
      TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name}_core_tests DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# pandrel_ui(<name> [LINKS ...] [OWN_TEST_MAIN]) builds <name>_ui from ui/*.cpp and the windows
# in folders below it, ui/<window>/*.cpp (Qt, with automoc), and <name>_ui_tests
# from ui/tests/*.cpp and ui/<window>/tests/*.cpp, run under the offscreen
# platform. OWN_TEST_MAIN: the tests bring their own main() (Quillet, which
# links nothing of Pandrel).
function(pandrel_ui name)
  if(PANDREL_CORES_ONLY)
    return()
  endif()
  cmake_parse_arguments(ARG "OWN_TEST_MAIN" "" "LINKS;TEST_LINKS;RESOURCES" ${ARGN})
  file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/ui/*/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*/*.h)
  list(FILTER ui_sources EXCLUDE REGEX "/ui/tests/")
  # A program's entry point (ui/main.cpp) is the executable's, not the library's.
  list(FILTER ui_sources EXCLUDE REGEX "/ui/main\\.cpp$")
  add_library(${name}_ui STATIC ${ui_sources} ${ARG_RESOURCES})
  set_target_properties(${name}_ui PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(${name}_ui PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_ui PUBLIC ${ARG_LINKS})
  # Windows are held to the cores' warnings too.
  target_compile_options(${name}_ui PRIVATE ${PANDREL_CORE_WARNINGS})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ui/*/tests/*.cpp)
  if(test_sources)
    add_executable(${name}_ui_tests ${test_sources})
    set_target_properties(${name}_ui_tests PROPERTIES AUTOMOC ON)
    if(ARG_OWN_TEST_MAIN)
      target_link_libraries(${name}_ui_tests PRIVATE ${name}_ui ${ARG_TEST_LINKS} Qt6::Test GTest::gtest)
    else()
      target_link_libraries(${name}_ui_tests PRIVATE ${name}_ui ${ARG_TEST_LINKS} ui_test_main Qt6::Test GTest::gtest)
    endif()
    target_compile_definitions(${name}_ui_tests PRIVATE
      TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/data")
    gtest_discover_tests(${name}_ui_tests DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
