list(APPEND PIKSOR_CORE_SOURCES
  src/fileops/FolderDelete.h src/fileops/FolderDelete.cpp
  src/fileops/frmMakeFolder.h src/fileops/frmMakeFolder.cpp
  src/fileops/frmMain_folders.cpp
  src/fileops/frmFileMove.h src/fileops/frmFileMove.cpp
)
