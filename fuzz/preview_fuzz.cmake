# A libFuzzer target for reading the previews cameras embed in JPEG files
# (the file's head, its EXIF block, the preview's checks); not part of the
# default build. In the tree configured for fuzz.cmake:
#   ninja -C build-fuzz preview_fuzz
# Our own code is built instrumented; Qt's JPEG decoder is the system's.
if(PIKSOR_FUZZ)
  piksor_add_fuzzer(preview_fuzz fuzz/preview_fuzz.cpp tests/viewer/CountedSource.h
                    src/platform/ExifPreview.h src/platform/ExifPreview.cpp
                    src/platform/JpegHead.h src/platform/JpegHead.cpp
                    src/platform/PictureClaim.h src/platform/PictureClaim.cpp)
  target_include_directories(preview_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests/viewer)
  target_link_libraries(preview_fuzz PRIVATE Qt6::Gui)
endif()
