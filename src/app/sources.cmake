list(APPEND PIKSOR_CORE_SOURCES
  src/app/mdlSt.h src/app/mdlSt.cpp
  src/app/SettingsFile.h src/app/SettingsFile.cpp
  src/app/PathRules.h src/app/PathRules.cpp
  src/app/frmMain.h src/app/frmMain.cpp src/app/frmMain_panel.cpp
)
