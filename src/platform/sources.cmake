list(APPEND PIKSOR_CORE_SOURCES
  src/platform/Status.h
  src/platform/MsgBox.h src/platform/MsgBox.cpp
  src/platform/ShowModal.h src/platform/ShowModal.cpp
  src/platform/Screen.h src/platform/Screen.cpp
  src/platform/ButtonIcon.h src/platform/ButtonIcon.cpp
  src/platform/FormText.h src/platform/FormText.cpp
  src/platform/Files.h src/platform/Files.cpp
  src/platform/NameOrder.h src/platform/NameOrder.cpp
  src/platform/FolderEntries.h src/platform/FolderEntries.cpp
  src/platform/Volumes.h src/platform/Volumes.cpp
  src/platform/DriveList.h src/platform/DriveList.cpp
  src/platform/DirList.h src/platform/DirList.cpp
  src/platform/FileList.h src/platform/FileList.cpp
  src/platform/FileOps.h src/platform/FileOps.cpp
  src/platform/PictureClaim.h src/platform/PictureClaim.cpp
  src/platform/Picture.h src/platform/Picture.cpp
  src/platform/JpegHead.h src/platform/JpegHead.cpp
  src/platform/ExifPreview.h src/platform/ExifPreview.cpp
)
