# Shared build helpers.

# tessaly_library(name DEPS ...): a static library made of every .cpp in the
# calling folder and its subfolders, with the source root on its include path.
function(tessaly_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
endfunction()

# tessaly_version_block(target DESCRIPTION file): embeds the version block
# described by `file` into `target` (an executable) as its own ELF section.
function(tessaly_version_block target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make_version_block.py ${ARG_DESCRIPTION} ${out}
    DEPENDS ${ARG_DESCRIPTION} ${PROJECT_SOURCE_DIR}/scripts/make_version_block.py
    COMMENT "Generating the version block of ${target}")
  target_sources(${target} PRIVATE ${out})
endfunction()

# tessaly_gtest(name SOURCES ... DEPS ...): a GoogleTest program registered with CTest.
function(tessaly_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tessaly_gtest_main GTest::gtest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "TESSALY_CORPUS=set:${TESSALY_CORPUS}")
endfunction()

# tessaly_qtest(name SOURCES ... DEPS ...): a QtTest program registered with CTest.
function(tessaly_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TESSALY_CORPUS=${TESSALY_CORPUS}")
endfunction()

# tessaly_gtest_folder(DEPS ...): one GoogleTest program per test_*.cpp of the
# calling folder, named after the folder and the file.
function(tessaly_gtest_folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(test ${tests})
    get_filename_component(stem ${test} NAME_WE)
    tessaly_gtest(${folder}_${stem} SOURCES ${test} DEPS ${ARG_DEPS})
  endforeach()
endfunction()
