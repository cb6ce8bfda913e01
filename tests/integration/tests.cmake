# The integration tests run the real game: they need it built, the support
# code that drives it, and the helper that closes its window.
find_package(X11 REQUIRED)
add_executable(halvardine_closewindow ${CMAKE_CURRENT_LIST_DIR}/closewindow.cpp)
target_link_libraries(halvardine_closewindow PRIVATE X11::X11)

target_sources(test_integration PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gamerun.cpp ${CMAKE_CURRENT_LIST_DIR}/netgames.cpp)
# The package tests' timer package shows that the game loads Data/Packages.
add_dependencies(test_integration halvardine halvardine_closewindow timerpackage)
target_compile_definitions(test_integration PRIVATE
  HALVARDINE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  HALVARDINE_TEST_PACKAGE="$<TARGET_FILE:timerpackage>"
  HALVARDINE_GAME="$<TARGET_FILE:halvardine>"
  HALVARDINE_CLOSE_WINDOW_TOOL="$<TARGET_FILE:halvardine_closewindow>")

# The package whose subsystem draws the rendering tests' scene.
add_library(renderscene MODULE ${CMAKE_CURRENT_LIST_DIR}/renderscene/renderscene.cpp)
target_include_directories(renderscene PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(renderscene PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testpackages)
add_dependencies(test_integration renderscene)
target_compile_definitions(test_integration PRIVATE RENDER_SCENE_PACKAGE="$<TARGET_FILE:renderscene>")

# The package whose subsystem draws the game's meshes.
add_library(meshscene MODULE ${CMAKE_CURRENT_LIST_DIR}/meshscene/meshscene.cpp)
target_include_directories(meshscene PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(meshscene PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testpackages)
add_dependencies(test_integration meshscene)
target_compile_definitions(test_integration PRIVATE MESH_SCENE_PACKAGE="$<TARGET_FILE:meshscene>")

# A package whose class was built for an older engine ("ClassInfo" of it).
add_dependencies(test_integration oldversionpackage)
target_compile_definitions(test_integration PRIVATE OLD_VERSION_PACKAGE="$<TARGET_FILE:oldversionpackage>")

# The package whose subsystem draws the free camera tests' boxes.
add_library(camerascene MODULE ${CMAKE_CURRENT_LIST_DIR}/camerascene/camerascene.cpp)
target_include_directories(camerascene PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(camerascene PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testpackages)
add_dependencies(test_integration camerascene)
target_compile_definitions(test_integration PRIVATE CAMERA_SCENE_PACKAGE="$<TARGET_FILE:camerascene>")

# One CTest test per source file, running that file's test suites, so that
# CTest runs games side by side; editing a file configures again, which picks
# up a suite it gained.
file(GLOB INTEGRATION_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/test_*.cpp)
foreach(src ${INTEGRATION_SOURCES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
  file(STRINGS ${src} declarations REGEX "^TEST(_F)?\\(")
  set(suites "")
  foreach(declaration ${declarations})
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" suite "${declaration}")
    list(APPEND suites ${suite})
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(JOIN suites ":" filter)
  get_filename_component(stem ${src} NAME_WE)
  string(REGEX REPLACE "^test_" "integration_" test_name ${stem})
  add_test(NAME ${test_name} COMMAND test_integration --gtest_filter=${filter})
  set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${TEST_ENVIRONMENT}" TIMEOUT 600)
endforeach()
# The whole round first: it is the longest.
set_tests_properties(integration_match PROPERTIES COST 100)
