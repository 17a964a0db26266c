# The game object's frame: heap allocations and CPU time of one update in a
# steady state, and of one render of a full draw list. Needs DISPLAY and the
# generated asset pack.
tesselon_add_bench(bench_game ${CMAKE_CURRENT_LIST_DIR}/game_frame_bench.cpp
                  ${CMAKE_CURRENT_LIST_DIR}/alloc_counter.cpp
                  ${CMAKE_CURRENT_LIST_DIR}/game_session.cpp)
target_compile_definitions(bench_game PRIVATE TESSELON_BINARY_DIR="${PROJECT_BINARY_DIR}")
if(TARGET tesselon_assets)
  add_dependencies(bench_game tesselon_assets)
endif()
