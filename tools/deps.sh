#!/usr/bin/env bash
# Installs the Debian packages that a make target needs and the machine lacks.
# Usage: tools/deps.sh build|test|bench|fuzz|package
set -euo pipefail

build=(cmake ninja-build g++ make ccache pkg-config qt6-base-dev qt6-base-dev-tools
       qt6-multimedia-dev qt6-svg-dev qt6-image-formats-plugins qt6-translations-l10n
       libpulse-dev libgl-dev fonts-liberation fonts-dejavu-core)
test=(xvfb xauth clang libclang-rt-14-dev libreoffice-writer-nogui desktop-file-utils
      appstream dpkg-dev file lintian libbenchmark-dev poppler-utils)
bench=(libbenchmark-dev unrtf libreoffice-writer-nogui xvfb xauth hyperfine)
fuzz=(clang libclang-rt-14-dev)
package=(dpkg-dev file desktop-file-utils appstream)

wanted=("${build[@]}")
for group in "$@"; do
    case "$group" in
    build) ;;
    test) wanted+=("${test[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    *) echo "deps.sh: unknown group '$group'" >&2; exit 2 ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
