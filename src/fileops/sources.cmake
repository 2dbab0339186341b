list(APPEND PIKSOR_CORE_SOURCES
  src/fileops/frmReadOnly.h src/fileops/frmReadOnly.cpp
)
