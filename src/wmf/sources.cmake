# The Windows Metafile reader, a component that needs Qt Gui and nothing else
# of the program. The reader proper (bytes to records to a painter) is listed
# apart so that the fuzz target can build it instrumented.
set(PIKSOR_WMF_READER_SOURCES
  src/wmf/WmfRecords.h
  src/wmf/WmfFile.h src/wmf/WmfFile.cpp
  src/wmf/WmfMapping.h src/wmf/WmfMapping.cpp
  src/wmf/WmfFrame.h src/wmf/WmfFrame.cpp
  src/wmf/WmfText.h src/wmf/WmfText.cpp
  src/wmf/WmfBitmap.h src/wmf/WmfBitmap.cpp
  src/wmf/WmfObjects.h src/wmf/WmfObjects.cpp
  src/wmf/WmfPlayer.h src/wmf/WmfPlayer.cpp
  src/wmf/WmfPlayerText.cpp
  src/wmf/WmfPlayerBitmap.cpp
)

# The program's copy: a static plugin that ImportWmfPlugin() registers.
add_library(piksor_wmf STATIC ${PIKSOR_WMF_READER_SOURCES}
  src/wmf/WmfHandler.h src/wmf/WmfHandler.cpp
  src/wmf/WmfPlugin.cpp src/wmf/wmf.json
  src/wmf/WmfImport.h src/wmf/WmfImport.cpp)
target_include_directories(piksor_wmf PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(piksor_wmf PUBLIC Qt6::Gui)
target_compile_definitions(piksor_wmf PRIVATE QT_STATICPLUGIN)
