list(APPEND PIKSOR_CORE_SOURCES
  src/app/mdlSt.h src/app/mdlSt.cpp
  src/app/SettingsFile.h src/app/SettingsFile.cpp
  src/app/PathRules.h src/app/PathRules.cpp
  src/app/frmMain.h src/app/frmMain.cpp src/app/frmMain_panel.cpp src/app/frmMain_menus.cpp src/app/frmMain_layout.cpp
  src/app/WindowArrange.h src/app/WindowArrange.cpp
  src/app/frmVer.h src/app/frmVer.cpp
  src/app/frmDir.h src/app/frmDir.cpp
  src/app/DriveChange.h src/app/DriveChange.cpp
  src/app/HelpWindow.h src/app/HelpWindow.cpp
  src/app/Desktop.h src/app/Desktop.cpp
  src/app/Places.h src/app/Places.cpp
  src/app/CommandLine.h src/app/CommandLine.cpp
)
