# A libFuzzer target for the metafile reader; not part of the default build.
# Configure a separate tree with clang:
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPIKSOR_FUZZ=ON
#   ninja -C build-fuzz wmf_fuzz
option(PIKSOR_FUZZ "Build the metafile reader's fuzz target (clang)" OFF)
if(PIKSOR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PIKSOR_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_executable(wmf_fuzz fuzz/wmf_fuzz.cpp ${PIKSOR_WMF_READER_SOURCES}
                 src/wmf/WmfHandler.h src/wmf/WmfHandler.cpp)
  target_include_directories(wmf_fuzz PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(wmf_fuzz PRIVATE Qt6::Gui)
  target_compile_options(wmf_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(wmf_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
