#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Merendella need.
# Idempotent: installs only what is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    # building
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev libxcb1-dev
    # the languages: Qt Linguist's tools for CMake, and Qt's own translations (the boxes' buttons)
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    # Qt's speech module; Debian's CMake files for it need qt6-declarative-dev
    qt6-speech-dev qt6-declarative-dev
    # running: the faces of the design, Qt's Wayland platform
    fonts-comic-neue fonts-liberation2 fonts-dejavu-core qt6-wayland
    # benchmarks
    libbenchmark-dev valgrind
    # the desktops of the tests: X11 bare and with xfwm4 and a tint2 panel, headless sway,
    # a sound server; the tools that drive, look and listen
    xvfb xauth x11-utils xdotool imagemagick openbox xfwm4 xfconf tint2 dbus-daemon dbus-session-bus-common
    sway grim wtype pulseaudio pulseaudio-utils sox python3
    # the X libraries a scenario calls itself, to read pixels and press keys within milliseconds
    libx11-6 libxtst6
    # the voice and the screen reader's view: a speech service with an Italian voice, an
    # accessibility bus and Debian's Python library that reads it
    qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng at-spi2-core python3-pyatspi
    # the screen reader itself, its speech library, and the bus tool that tells it runs
    orca python3-speechd gsettings-desktop-schemas dbus-bin
    # the installed program and its package
    desktop-file-utils appstream dpkg-dev lintian
    # the line coverage of the suite (scripts/coverage.sh)
    gcovr
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
