# Installed layout, under the prefix: bin/piksor, the help file in share/piksor,
# the launcher, the AppStream metadata, the icon in the hicolor theme, the
# manual page and share/doc/piksor. Component "piksor" is the program, "wmf"
# the metafile plugin for other Qt 6 programs; each is a package of its own.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME piksor)
set(PIKSOR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/piksor)
# The package of the metafile plugin.
set(PIKSOR_WMF_PACKAGE qt6-image-formats-plugin-piksorwmf)

# The installed program finds its data folder from its own folder.
file(RELATIVE_PATH PIKSOR_DATA_FROM_BIN
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/piksor)
set_property(SOURCE src/app/Desktop.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS "PIKSOR_DATA_FROM_BIN=\"${PIKSOR_DATA_FROM_BIN}\"")

# The version stands in three places besides this project: the newest entry
# of the changelog, the newest release of the AppStream metadata and the
# manual page.
file(STRINGS resources/debian/changelog PIKSOR_CHANGELOG_TOP LIMIT_COUNT 1)
file(READ resources/desktop/io.github.piksor.piksor.metainfo.xml PIKSOR_METAINFO)
file(STRINGS resources/piksor.1 PIKSOR_MAN_TOP LIMIT_COUNT 1)
if(NOT PIKSOR_CHANGELOG_TOP MATCHES "^piksor \\(${PROJECT_VERSION}\\) "
   OR NOT PIKSOR_METAINFO MATCHES "<release version=\"${PROJECT_VERSION}\""
   OR NOT PIKSOR_MAN_TOP MATCHES "\"Piksor ${PROJECT_VERSION}\"")
  message(FATAL_ERROR "resources/debian/changelog, the metainfo's newest release and "
    "resources/piksor.1 must name version ${PROJECT_VERSION}")
endif()

# The changelog and the manual page compressed as Debian wants them: gzip at
# its best, without a name or a time stamp.
find_program(PIKSOR_GZIP gzip REQUIRED)
set(PIKSOR_GZIPPED)
foreach(pair "debian/changelog;changelog.gz" "piksor.1;piksor.1.gz")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${target}
    COMMAND ${PIKSOR_GZIP} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/resources/${source}
            > ${CMAKE_BINARY_DIR}/${target}
    DEPENDS resources/${source} VERBATIM)
  list(APPEND PIKSOR_GZIPPED ${CMAKE_BINARY_DIR}/${target})
endforeach()
add_custom_target(piksor_docs ALL DEPENDS ${PIKSOR_GZIPPED})

install(TARGETS piksor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/Piksor.HLP DESTINATION ${PIKSOR_INSTALL_DATADIR})
install(FILES resources/desktop/piksor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/io.github.piksor.piksor.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES resources/icons/piksor-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME piksor.png)
endforeach()
install(FILES resources/icons/piksor.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/piksor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/piksor)

# The metafile reader as an image-format plugin for every Qt 6 program, in the
# plugin folder of the Qt it was built against (relative to Qt's own prefix),
# under this prefix. Its own component: `--component wmf` installs it alone.
option(PIKSOR_INSTALL_WMF_PLUGIN "Install the WMF image-format plugin for other Qt 6 programs" ON)
if(PIKSOR_INSTALL_WMF_PLUGIN)
  set(PIKSOR_WMF_PLUGIN_DESTINATION ${QT6_INSTALL_PLUGINS}/imageformats)
  install(TARGETS piksor_wmf_plugin LIBRARY DESTINATION ${PIKSOR_WMF_PLUGIN_DESTINATION}
    COMPONENT wmf)
  install(FILES resources/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PIKSOR_WMF_PACKAGE} COMPONENT wmf)
endif()
