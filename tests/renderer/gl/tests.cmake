# Mesa leaks when a context is torn down (see ../vagl/tests.cmake).
set_property(TEST test_renderer_gl APPEND PROPERTY ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:abort_on_error=0")
