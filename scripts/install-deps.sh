#!/usr/bin/env bash
# Installs the system packages the reader needs to build, test and run, when they are
# missing. Uses apt-get as root, or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-translations-l10n
  libjpeg62-turbo-dev zlib1g-dev libgoogle-perftools-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth
  librsvg2-bin desktop-file-utils appstream dpkg-dev file groff-base fakeroot
  python3
  # Printing tests: a private spooler with a PDF queue, and poppler to read PDFs back.
  cups printer-driver-cups-pdf poppler-utils
)
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  # Reference decoders the decoder benchmark compares with; never the program's.
  --bench) packages+=(libpng-dev libgif-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null; then
  run=(sudo)
else
  echo "These packages are missing and there is no way to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
