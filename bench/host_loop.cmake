# The real run loop on the test display: update and render rates and the
# process's CPU use over a 10-second run.
tesselon_add_bench(bench_host_loop ${CMAKE_CURRENT_LIST_DIR}/host_loop_bench.cpp)
