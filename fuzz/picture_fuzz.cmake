# A libFuzzer target for reading pictures (BMP, JPEG, GIF, ICO, CUR) through
# LoadPicture; not part of the default build. In the tree configured for
# fuzz.cmake:
#   ninja -C build-fuzz picture_fuzz
# Our own code that reads the files is built instrumented; Qt's decoders are
# the system's, and the metafile reader (fuzzed by wmf_fuzz) is linked as it is.
if(PIKSOR_FUZZ)
  piksor_add_fuzzer(picture_fuzz fuzz/picture_fuzz.cpp
                    src/platform/Picture.h src/platform/Picture.cpp
                    src/platform/PictureClaim.h src/platform/PictureClaim.cpp
                    src/platform/Files.h src/platform/Files.cpp
                    src/platform/NameOrder.h src/platform/NameOrder.cpp)
  target_link_libraries(picture_fuzz PRIVATE piksor_wmf Qt6::Gui)
endif()
