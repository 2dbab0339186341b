# Installed layout, under the prefix: bin/piksor, the help file in share/piksor,
# the launcher in share/applications and the icon in the hicolor theme.
include(GNUInstallDirs)
set(PIKSOR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/piksor)

# The installed program finds its data folder from its own folder.
file(RELATIVE_PATH PIKSOR_DATA_FROM_BIN
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/piksor)
set_property(SOURCE src/app/Desktop.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS "PIKSOR_DATA_FROM_BIN=\"${PIKSOR_DATA_FROM_BIN}\"")

install(TARGETS piksor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/Piksor.HLP DESTINATION ${PIKSOR_INSTALL_DATADIR})
install(FILES resources/desktop/piksor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES resources/icons/piksor-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME piksor.png)
endforeach()
install(FILES resources/icons/piksor.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The metafile reader as an image-format plugin for every Qt 6 program, in the
# plugin folder of the Qt it was built against (relative to Qt's own prefix),
# under this prefix. Its own component: `--component wmf` installs it alone.
option(PIKSOR_INSTALL_WMF_PLUGIN "Install the WMF image-format plugin for other Qt 6 programs" ON)
if(PIKSOR_INSTALL_WMF_PLUGIN)
  set(PIKSOR_WMF_PLUGIN_DESTINATION ${QT6_INSTALL_PLUGINS}/imageformats)
  install(TARGETS piksor_wmf_plugin LIBRARY DESTINATION ${PIKSOR_WMF_PLUGIN_DESTINATION}
    COMPONENT wmf)
endif()
