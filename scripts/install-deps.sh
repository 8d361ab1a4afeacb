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
  python3 locales
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
# The tests also run under our users' locale, so whatever follows the process locale
# (number reading, case mapping) is tried the way the reader meets it.
has_locale() { locale -a 2>/dev/null | grep -qix 'pt_BR\.utf-\?8'; }
need_locale=0
has_locale || need_locale=1
[ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null; then
  run=(sudo)
else
  echo "Missing, with no way to install them: ${missing[*]} (pt_BR.UTF-8 locale missing: $need_locale)" >&2
  exit 1
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${run[@]}" apt-get update -qq
  "${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! has_locale; then
  echo "Generating the pt_BR.UTF-8 locale"
  "${run[@]}" localedef -i pt_BR -f UTF-8 pt_BR.UTF-8
fi
