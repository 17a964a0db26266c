# Whole-program measurements driven by bench/perf.py: the real game in the
# real loop with its updates and renders timed, a bare GLFW program as the
# CPU reference, and the per-screen update and render costs.
add_executable(game_loop_timing ${CMAKE_CURRENT_LIST_DIR}/game_loop_timing.cpp)
target_link_libraries(game_loop_timing PRIVATE tesselon_all)

add_executable(bare_glfw ${CMAKE_CURRENT_LIST_DIR}/bare_glfw.cpp)
target_link_libraries(bare_glfw PRIVATE PkgConfig::GLFW3 OpenGL::GL)

tesselon_add_bench(bench_screens ${CMAKE_CURRENT_LIST_DIR}/screen_bench.cpp
                  ${CMAKE_CURRENT_LIST_DIR}/alloc_counter.cpp
                  ${CMAKE_CURRENT_LIST_DIR}/game_session.cpp)
target_compile_definitions(bench_screens PRIVATE TESSELON_BINARY_DIR="${PROJECT_BINARY_DIR}")
if(TARGET tesselon_assets)
  add_dependencies(bench_screens tesselon_assets)
  add_dependencies(game_loop_timing tesselon_assets)
endif()
