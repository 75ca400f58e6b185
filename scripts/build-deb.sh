#!/usr/bin/env bash
# Builds the Debian package build-deb/orbquest_VERSION-REVISION_ARCH.deb: the game laid out as
# Debian lays out games (/usr/games/orbquest, its data under /usr/share/games/orbquest), built
# with Debian's compiler flags, stripped, its dependencies found by dpkg-shlibdeps. Then checks
# it: lintian (an error fails; warnings and notes are shown), and the packaged game, unpacked
# into a scratch folder, must start from an unrelated folder and draw a few frames under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh deb

# Debian's hardening and reproducibility flags, as a package build of its own would use them;
# the build type None adds no flags of its own.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-deb -DORBQUEST_LAYOUT=debian -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_BUILD_TYPE=None -DORBQUEST_TESTS=OFF -DORBQUEST_WERROR=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  > build-deb-configure.log || { cat build-deb-configure.log; exit 1; }
rm -f build-deb-configure.log
cmake --build build-deb -j "$(nproc)"
rm -f build-deb/orbquest_*.deb
(cd build-deb && cpack -G DEB > cpack.log) || { cat build-deb/cpack.log; exit 1; }
package=$(ls build-deb/orbquest_*.deb)
echo "build-deb: built $package"

echo "build-deb: lintian $package"
lintian --info --display-info --fail-on error "$package"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$package" "$scratch/root"
mkdir "$scratch/elsewhere"
(cd "$scratch/elsewhere" && xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$scratch/root/usr/games/orbquest" --frames 3 > "$scratch/run.log" 2>&1) \
  || { cat "$scratch/run.log"; echo "build-deb: the packaged game did not run"; exit 1; }
grep -q "Welcome to >>Orbquest<<" "$scratch/run.log" \
  || { cat "$scratch/run.log"; echo "build-deb: the packaged game did not start"; exit 1; }
echo "build-deb: the packaged game found its data and ran; install it with"
echo "  sudo apt-get install ./$package"
