# Runtime core benchmarks: allocation and reclamation, collector steps and
# sweeps, string operations.
tesselon_add_bench(bench_runtime ${CMAKE_CURRENT_LIST_DIR}/runtime_gc_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runtime_string_bench.cpp)
