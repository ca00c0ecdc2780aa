#!/usr/bin/env bash
# Builds the Debian package talvora_VERSION_ARCH.deb in the repository's top folder: installs
# what the build and the packaging need, builds a release tree in build-package, runs CPack,
# then checks the desktop entry, the AppStream metadata and the package (lintian). Run as root.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$top/build-package

# Only the package needs these: PNG icons from the SVG, the checks, and dpkg-shlibdeps.
bash "$top/scripts/setup.sh" librsvg2-bin dpkg-dev appstream desktop-file-utils lintian

# Debian's hardening flags, as a Debian build would use them; the build type of the usual
# tree (-O3 trips a false -Wrestrict in GCC 12's std::string). CPack strips the programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$top" -B "$tree" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DTALVORA_BUILD_TESTS=OFF -DTALVORA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$tree" --parallel "$(nproc)"
rm -f "$tree"/talvora_*.deb
(cd "$tree" && cpack -G DEB)

deb=$(find "$tree" -maxdepth 1 -name 'talvora_*.deb' | head -n1)
[[ -n $deb ]] || { echo "package.sh: CPack made no package" >&2; exit 1; }
cp "$deb" "$top/"
deb=$top/$(basename "$deb")

desktop-file-validate "$top/packaging/talvora.desktop"
appstreamcli validate --no-net --strict "$tree"/packaging/*.metainfo.xml
lintian --info "$deb"
echo "$deb"
