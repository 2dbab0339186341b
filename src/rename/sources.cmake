list(APPEND PIKSOR_CORE_SOURCES
  src/rename/NamingRules.h src/rename/NamingRules.cpp
  src/rename/DialogForm.h src/rename/DialogForm.cpp
  src/rename/NameEntry.h src/rename/NameEntry.cpp
  src/rename/frmNameInput.h src/rename/frmNameInput.cpp
  src/rename/frmNameInputSingle.h src/rename/frmNameInputSingle.cpp
  src/rename/frmReName.h src/rename/frmReName.cpp
)
