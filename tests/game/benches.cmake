# The steady-frame benchmark runs the real game with the frame counter
# library preloaded. The library replaces operator new in the game it is
# loaded into, which the sanitizers' own allocator forbids: benchmarks are
# built without them.
add_library(frameallocations MODULE ${CMAKE_CURRENT_LIST_DIR}/frameallocations/frameallocations.cpp)
target_link_libraries(frameallocations PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(frameallocations PROPERTIES PREFIX "")
add_dependencies(bench_gameframe halvardine frameallocations)
target_compile_definitions(bench_gameframe PRIVATE
  HALVARDINE_GAME="$<TARGET_FILE:halvardine>"
  FRAME_ALLOCATIONS_LIBRARY="$<TARGET_FILE:frameallocations>")
