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

# The reader and its image handler, compiled once for both the static library
# and the plugin module.
add_library(piksor_wmf_reader OBJECT ${PIKSOR_WMF_READER_SOURCES}
  src/wmf/WmfHandler.h src/wmf/WmfHandler.cpp)
target_include_directories(piksor_wmf_reader PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(piksor_wmf_reader PUBLIC Qt6::Gui)
set_target_properties(piksor_wmf_reader PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# The program's copy: a static plugin that ImportWmfPlugin() registers.
add_library(piksor_wmf STATIC $<TARGET_OBJECTS:piksor_wmf_reader>
  src/wmf/WmfPlugin.cpp src/wmf/wmf.json
  src/wmf/WmfImport.h src/wmf/WmfImport.cpp)
target_include_directories(piksor_wmf PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(piksor_wmf PUBLIC Qt6::Gui)
target_compile_definitions(piksor_wmf PRIVATE QT_STATICPLUGIN)

# The same reader as a Qt image-format plugin for every Qt 6 program on the
# machine (build/plugins/imageformats/libpiksorwmf.so).
qt_add_plugin(piksor_wmf_plugin SHARED CLASS_NAME PiksorWmfPlugin)
target_sources(piksor_wmf_plugin PRIVATE $<TARGET_OBJECTS:piksor_wmf_reader>
  src/wmf/WmfPlugin.cpp src/wmf/wmf.json)
target_include_directories(piksor_wmf_plugin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(piksor_wmf_plugin PRIVATE Qt6::Gui)
# Linked with no symbol left open: the reader needs nothing but Qt Gui.
target_link_options(piksor_wmf_plugin PRIVATE LINKER:--no-undefined)
set_target_properties(piksor_wmf_plugin PROPERTIES OUTPUT_NAME piksorwmf
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins/imageformats
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
