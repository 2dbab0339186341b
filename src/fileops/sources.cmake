list(APPEND PIKSOR_CORE_SOURCES
  src/fileops/frmReadOnly.h src/fileops/frmReadOnly.cpp
)
list(APPEND PIKSOR_CORE_SOURCES
  src/fileops/FileStep.h src/fileops/FileStep.cpp
  src/fileops/FileOperation.h src/fileops/FileOperation.cpp
  src/fileops/OpTransfer.cpp
  src/fileops/ThumbnailDrop.h src/fileops/ThumbnailDrop.cpp
  src/fileops/frmMain_fileops.cpp
)
