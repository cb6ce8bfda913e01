# Packages for the package tests, built as the engine's packages are: shared
# libraries that resolve the engine's symbols from the program loading them.
set(TEST_PACKAGE_SOURCE ${CMAKE_CURRENT_LIST_DIR}/package/timerpackage.cpp)
set(TEST_PACKAGE_DIR ${CMAKE_BINARY_DIR}/testpackages)
foreach(pkg timerpackage oldpatchpackage oldversionpackage)
  add_library(${pkg} MODULE ${TEST_PACKAGE_SOURCE})
  target_include_directories(${pkg} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  set_target_properties(${pkg} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${TEST_PACKAGE_DIR})
  add_dependencies(test_vfs ${pkg})
endforeach()
target_compile_definitions(oldpatchpackage PRIVATE PATCH_DATE="2001/01/01 00:00:00")
# Its timer class was built for an engine two minor versions older.
target_compile_definitions(oldversionpackage PRIVATE VERSION_NEEDED="0.2.58")
target_compile_definitions(test_vfs PRIVATE TEST_PACKAGE_DIR="${TEST_PACKAGE_DIR}")
