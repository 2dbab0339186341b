list(APPEND PIKSOR_CORE_SOURCES
  src/thumbs/frmMain_thumbs.cpp
)
