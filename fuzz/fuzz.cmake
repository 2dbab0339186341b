# libFuzzer targets for the readers of our own; not part of the default build.
# Configure a separate tree with clang:
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPIKSOR_FUZZ=ON
#   ninja -C build-fuzz wmf_fuzz
option(PIKSOR_FUZZ "Build the fuzz targets of the readers (clang)" OFF)
if(PIKSOR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PIKSOR_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  # A fuzz target of the sources given, built instrumented.
  function(piksor_add_fuzzer name)
    add_executable(${name} ${ARGN})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endfunction()
  # The metafile reader.
  piksor_add_fuzzer(wmf_fuzz fuzz/wmf_fuzz.cpp ${PIKSOR_WMF_READER_SOURCES}
                    src/wmf/WmfHandler.h src/wmf/WmfHandler.cpp)
  target_link_libraries(wmf_fuzz PRIVATE Qt6::Gui)
endif()
