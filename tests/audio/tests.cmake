# The sound tests' fixture: capture files, tones and the engine with real audio.
target_sources(test_audio PRIVATE ${CMAKE_CURRENT_LIST_DIR}/audiofixture.cpp)
