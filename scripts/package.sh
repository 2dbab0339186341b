#!/usr/bin/env bash
# Builds the Debian packages into dist/: piksor_<version>_amd64.deb and the
# metafile plugin for other Qt 6 programs in a package of its own; then checks
# them with lintian, the AppStream metadata and the launcher.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
bash scripts/setup.sh --package

# Debian's own compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DPIKSOR_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build build-deb -j "$(nproc)"
rm -f build-deb/*.deb
(cd build-deb && cpack -G DEB)
rm -rf dist
mkdir -p dist
mv build-deb/*.deb dist/

appstreamcli validate --no-net resources/desktop/*.metainfo.xml
desktop-file-validate resources/desktop/piksor.desktop
# Errors fail the build; warnings and notes are shown.
lintian --info --display-info dist/*.deb
ls -l dist
