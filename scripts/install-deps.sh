#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config python3
    libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
    libfreetype-dev libpng-dev libjpeg62-turbo-dev libgif-dev libsdl2-dev zlib1g-dev
    fonts-wqy-microhei fonts-arphic-ukai xvfb xauth
    # The measurements on the X screen: its windows and a click; the display
    # tests click at the X server themselves.
    x11-utils xdotool libxtst-dev
    clang
    microsocks dante-server
    icoutils imagemagick
    # The desktop's opener and mail handler (xdg-open, xdg-email).
    xdg-utils
    # The GIF decoder's differential test: giflib's tools and the GIF files
    # these packages ship.
    giflib-tools libtk8.6 idle-python3.11 libpython3.11-testsuite
    # The wave reader's differential test.
    sox
    # MIDI through a synthesiser with a General MIDI sound font, MP3 through a
    # decoder; the MP3 test encodes its tones with lame, and the build speaks
    # the table's voice lines with espeak-ng and encodes them with lame.
    libfluidsynth-dev timgm6mb-soundfont libmpg123-dev lame espeak-ng
    # The quick-buy pop-up's page control: fetching, parsing and laying out.
    libcurl4-openssl-dev libgumbo-dev liblitehtml-dev
)
# Installed without the packages they recommend: fluidsynth's command-line
# renderer (the song tests' reference) would bring a larger sound font that
# takes over as the default and changes what every song sounds like.
bare_packages=(fluidsynth)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
missing_bare=()
for p in "${bare_packages[@]}"; do
    installed "$p" || missing_bare+=("$p")
done

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if [ "${#missing[@]}" -gt 0 ] || [ "${#missing_bare[@]}" -gt 0 ]; then
    $sudo_cmd apt-get update -qq
fi

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # dante-server's package tries to start its system service, which can fail
    # where there is no service manager; the tests start their own danted, so
    # only a package that did not install is an error.
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" ||
        $sudo_cmd dpkg --configure -a || true
    for p in "${missing[@]}"; do
        if ! installed "$p"; then
            if [ "$p" = dante-server ] && [ -x /usr/sbin/danted ]; then
                echo "dante-server's service did not start; the tests do not use it" >&2
                continue
            fi
            echo "Could not install $p" >&2
            exit 1
        fi
    done
fi

if [ "${#missing_bare[@]}" -gt 0 ]; then
    echo "Installing: ${missing_bare[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
        "${missing_bare[@]}"
fi
