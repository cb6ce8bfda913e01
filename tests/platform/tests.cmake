# The engine-host fixture shared by the platform tests.
target_sources(test_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/enginehost.cpp)
