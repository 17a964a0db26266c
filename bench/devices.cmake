# Audio and input devices: playing a sample over OpenAL Soft's null backend,
# decoding WAV and Ogg Vorbis files, and one input update with key events
# and a polled joystick.
tesselon_add_bench(bench_devices ${CMAKE_CURRENT_LIST_DIR}/audio_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input_bench.cpp)
target_compile_definitions(bench_devices PRIVATE TESSELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
