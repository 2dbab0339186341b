list(APPEND PIKSOR_CORE_SOURCES
  src/viewer/ViewerSlots.h src/viewer/ViewerSlots.cpp
  src/viewer/ViewerGeometry.h src/viewer/ViewerGeometry.cpp
  src/viewer/ViewerIcons.h src/viewer/ViewerIcons.cpp
  src/viewer/ViewingArea.h src/viewer/ViewingArea.cpp
  src/viewer/frmOpenPreview.h src/viewer/frmOpenPreview.cpp
  src/viewer/ImageOpened.cpp
)
