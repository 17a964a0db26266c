# Music player: one playback row of five tracks on the audio device over
# OpenAL Soft's null backend, and a row that starts a new section.
tesselon_add_bench(bench_music ${CMAKE_CURRENT_LIST_DIR}/music_bench.cpp)
target_compile_definitions(bench_music PRIVATE TESSELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
