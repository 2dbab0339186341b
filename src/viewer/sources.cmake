list(APPEND PIKSOR_CORE_SOURCES
  src/viewer/frmOpenPreview.h src/viewer/frmOpenPreview.cpp
  src/viewer/ImageOpened.cpp
)
