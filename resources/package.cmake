# The Debian packages (`bash scripts/package.sh`): one package per install
# component, under /usr. Run-time libraries come from dpkg-shlibdeps; what no
# library pulls in is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME piksor)
set(CPACK_PACKAGE_VENDOR "Piksor developers")
set(CPACK_PACKAGE_CONTACT
  "Piksor maintainers <maintainers@users.noreply.c-seed-1bdc3ed0.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL piksor wmf)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PIKSOR_PACKAGE_NAME piksor)
set(CPACK_DEBIAN_PIKSOR_PACKAGE_SECTION graphics)
# The Japanese interface needs Japanese fonts; Qt's translation names the
# buttons of its message boxes in Japanese; Wayland-only desktops need the
# Wayland platform plugin.
set(CPACK_DEBIAN_PIKSOR_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PIKSOR_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PIKSOR_PACKAGE_SUGGESTS qt6-wayland)
set(CPACK_DEBIAN_PIKSOR_DESCRIPTION "sort image files by eye, as thumbnails
Piksor opens folders as thumbnail windows inside one main window. The
selected files are copied, moved, deleted or renamed, one at a time or as a
numbered batch, by command or by dragging them onto a folder or the waste
bin. It shows BMP, JPEG, GIF, ICO, CUR and WMF pictures and opens any of them
in a viewer window. Its interface is Japanese.")

set(CPACK_DEBIAN_WMF_PACKAGE_NAME ${PIKSOR_WMF_PACKAGE})
set(CPACK_DEBIAN_WMF_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_WMF_DESCRIPTION "Windows Metafile (WMF) image format plugin for Qt 6
Qt 6 programs read pictures through image format plugins, and Qt has none
for Windows Metafiles. This plugin, the reader of the Piksor image sorter,
gives every Qt 6 program on the machine WMF pictures (format wmf), drawn
at their natural size or directly at any other size.")

include(CPack)
