# Render device frame cost (needs the test display).
tesselon_add_bench(graphics_bench ${CMAKE_CURRENT_SOURCE_DIR}/graphics_bench.cpp)
