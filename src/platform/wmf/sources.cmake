# The Windows Metafile reader. The reader proper (bytes to records to a
# painter) is listed apart so that the fuzz target can build it instrumented.
set(PIKSOR_WMF_READER_SOURCES
  src/platform/wmf/WmfRecords.h
  src/platform/wmf/WmfFile.h src/platform/wmf/WmfFile.cpp
  src/platform/wmf/WmfMapping.h src/platform/wmf/WmfMapping.cpp
  src/platform/wmf/WmfFrame.h src/platform/wmf/WmfFrame.cpp
  src/platform/wmf/WmfText.h src/platform/wmf/WmfText.cpp
  src/platform/wmf/WmfBitmap.h src/platform/wmf/WmfBitmap.cpp
  src/platform/wmf/WmfObjects.h src/platform/wmf/WmfObjects.cpp
  src/platform/wmf/WmfPlayer.h src/platform/wmf/WmfPlayer.cpp
  src/platform/wmf/WmfPlayerText.cpp
  src/platform/wmf/WmfPlayerBitmap.cpp
)
list(APPEND PIKSOR_CORE_SOURCES
  ${PIKSOR_WMF_READER_SOURCES}
  src/platform/wmf/WmfHandler.h src/platform/wmf/WmfHandler.cpp
  src/platform/wmf/WmfPlugin.cpp src/platform/wmf/wmf.json
  src/platform/wmf/WmfImport.h src/platform/wmf/WmfImport.cpp
)
# Picture.cpp includes the reader's header only where it exists
# (__has_include): a tree built before the header came must rebuild it.
set_source_files_properties(src/platform/Picture.cpp PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/wmf/WmfImport.h)
