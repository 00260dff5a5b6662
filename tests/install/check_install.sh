#!/usr/bin/env bash
# Checks Merendella as a user's machine gets it.
#   metadata <source dir>          the desktop entry and AppStream file pass their validators
#   tree <build dir> <work dir>    `cmake --install` into a private prefix gives the full layout
#   deb <build dir> <work dir>     the .deb's control fields and contents; its program, started
#                                  through the link in a private X server, deals a game with
#                                  the pictures found
# Exits 77 (skipped) when a tool it needs is missing; scripts/install-deps.sh installs them.
set -uo pipefail

id=org.merendella.Merendella
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed" >&2; exit 77; }
    done
}

# The files a user's system needs, under <root>/<prefix>.
check_layout() {
    local root=$1
    local app=$root/lib/merendella
    [ -x "$app/merendella" ] && [ ! -L "$app/merendella" ] || fail "no program in $app"
    local jpgs
    jpgs=$(find "$app/img" -maxdepth 1 -name '*.jpg' -type f 2>/dev/null | wc -l)
    [ "$jpgs" -eq 12 ] || fail "$app/img holds $jpgs pictures, not 12"
    for card in torta{0..4} figurine{1,2,3,4,5,7,10}; do
        [ -s "$app/img/$card.jpg" ] || fail "missing card picture img/$card.jpg"
    done
    # A relative link: an absolute one would point outside a staged or moved tree.
    local link=$root/bin/merendella target
    target=$(readlink "$link") || fail "bin/merendella is not a link"
    case $target in /*) fail "bin/merendella points to the absolute $target" ;; esac
    [ "$(readlink -f "$link")" = "$(readlink -f "$app/merendella")" ] || fail "bin/merendella does not lead to the program"
    [ -f "$root/share/applications/$id.desktop" ] || fail "no desktop entry"
    [ -f "$root/share/metainfo/$id.metainfo.xml" ] || fail "no AppStream metadata"
    for size in 16 32 48 64 128 256; do
        [ -f "$root/share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size}x${size} icon"
    done
    [ -f "$root/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
    [ -f "$root/share/doc/merendella/copyright" ] || fail "no copyright file"
    # The desktop entry starts the program by name and shows the icon installed above.
    local desktop=$root/share/applications/$id.desktop
    grep -qx 'Exec=merendella' "$desktop" || fail "the desktop entry does not run merendella"
    grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
}

# Starts <program> in a private X server, plays from the title to the stickers screen with
# real clicks, and leaves what it printed in <work>/<name>.err. Returns 1 if no game was dealt.
play_until_dealt() {
    local program=$1 work=$2 name=$3
    local width=1280 height=800
    local fifo=$work/$name.display
    # A number well above the usual ones: the lowest free number races with servers that
    # other tests are starting or stopping at the same moment.
    local xvfb display= number attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        number=$((300 + RANDOM % 1700))
        [ -e "/tmp/.X$number-lock" ] && continue
        rm -f "$fifo" && mkfifo "$fifo"
        Xvfb ":$number" -displayfd 3 -screen 0 ${width}x${height}x24 -nolisten tcp -noreset 3>"$fifo" 2>"$work/$name.xvfb" &
        xvfb=$!
        if read -r -t 30 display <"$fifo"; then
            # A server that announced its number but takes no client is of no use.
            for _ in $(seq 25); do
                xdpyinfo -display ":$display" >/dev/null 2>&1 && break 2
                sleep 0.2
            done
        fi
        kill $xvfb 2>/dev/null
        display=
    done
    [ -n "$display" ] || { fail "$name: Xvfb did not start"; return 1; }
    export DISPLAY=:$display
    # Leaves the tree's own path out of the environment: only the link leads to the program.
    mkdir -p -m 700 "$work/runtime"
    (cd / && exec env -u LD_LIBRARY_PATH XDG_RUNTIME_DIR="$work/runtime" "$program") 2>"$work/$name.err" >/dev/null &
    local game=$!
    local dealt=0
    # Each screen is its own window: wait for the next one to map before clicking on it. The
    # click points are the centres of "Avvio" and "Figurine" as the screens are designed, in
    # proportion to the display that the screens cover.
    local window previous=none
    for click in "709 843" "498 257" ""; do
        window=""
        for _ in $(seq 100); do
            window=$(xdotool search --onlyvisible --class merendella 2>/dev/null | tail -n1)
            [ -n "$window" ] && [ "$window" != "$previous" ] && break
            window=""
            kill -0 $game 2>/dev/null || break
            sleep 0.2
        done
        [ -n "$window" ] || break
        previous=$window
        if [ -z "$click" ]; then dealt=1; break; fi
        set -- $click
        sleep 0.3
        xdotool mousemove $((width * $1 / 1000)) $((height * $2 / 1000)) click 1
    done
    # The deal reads the pictures before the screen is shown; a moment for the report to land.
    sleep 1
    kill -0 $game 2>/dev/null || { fail "$name: the program ended: $(cat "$work/$name.err")"; dealt=0; }
    [ $dealt -eq 1 ] && command -v import >/dev/null && import -window root "$work/$name.png" 2>/dev/null
    kill $game 2>/dev/null
    wait $game 2>/dev/null
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
    [ $dealt -eq 1 ] || { fail "$name: no game screen came up"; return 1; }
    return 0
}

check_runs_through_link() {
    local root=$1 work=$2
    need Xvfb xdotool
    if play_until_dealt "$root/bin/merendella" "$work" installed; then
        if grep -q 'cannot show picture' "$work/installed.err"; then
            fail "started through its link, the program misses its pictures:"
            cat "$work/installed.err" >&2
        fi
    fi
    # The same play with the program alone, no img/ beside it, must report the missing
    # pictures: otherwise the silence above proves nothing.
    mkdir -p "$work/alone/bin"
    cp "$root/lib/merendella/merendella" "$work/alone/bin/"
    if play_until_dealt "$work/alone/bin/merendella" "$work" alone; then
        grep -q 'cannot show picture .*/alone/bin/img/' "$work/alone.err" ||
            fail "a program without pictures said nothing: the check above cannot fail"
    fi
}

field() { dpkg-deb -f "$1" "$2"; }

mode=${1:-}
case $mode in
metadata)
    need desktop-file-validate appstreamcli
    src=$2
    desktop-file-validate "$src/data/$id.desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net "$src/data/$id.metainfo.xml" || fail "appstreamcli validate"
    # The AppStream entry must lead to the desktop entry that is installed beside it.
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$src/data/$id.metainfo.xml" ||
        fail "the metainfo launches another desktop entry"
    ;;
tree)
    build=$2 work=$3
    rm -rf "$work" && mkdir -p "$work"
    # A prefix that is not /usr, as for a build installed in one's home.
    cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" || fail "cmake --install"
    check_layout "$work/prefix"
    # The manifest lets the installation be removed again, link included.
    grep -qx "$work/prefix/bin/merendella" "$build/install_manifest.txt" || fail "the link is not in the install manifest"
    ;;
deb)
    need cpack dpkg-deb dpkg-shlibdeps appstreamcli
    build=$2 work=$3
    rm -rf "$work" && mkdir -p "$work"
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; fail "cpack"; exit 1; }
    deb=$(find "$work/cpack" -maxdepth 1 -name 'merendella_*.deb' | head -n1)
    [ -n "$deb" ] || { fail "cpack made no merendella_*.deb"; exit 1; }
    dpkg-deb -I "$deb"
    [ "$(field "$deb" Package)" = merendella ] || fail "package name"
    [ "$(field "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
    [ "$(field "$deb" Section)" = games ] || fail "section"
    [ -n "$(field "$deb" Maintainer)" ] || fail "no maintainer"
    [ "$(field "$deb" Recommends)" = "fonts-comic-neue, fonts-liberation2" ] || fail "recommends"
    depends=$(field "$deb" Depends)
    # Versioned by dpkg-shlibdeps, as "libqt6core6 (>= 6.4.0)".
    depends_names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
    for lib in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6; do
        grep -qxF "$lib" <<<"$depends_names" || fail "Depends lacks $lib: $depends"
    done
    grep -q '(>= 6\.' <<<"$depends" || fail "the Qt dependencies carry no version: $depends"
    description=$(field "$deb" Description)
    [ "$(wc -l <<<"$description")" -ge 2 ] || fail "the description has no long part"
    dpkg-deb -x "$deb" "$work/root"
    check_layout "$work/root/usr"
    # As installed, the AppStream entry must find its desktop entry.
    appstreamcli validate-tree --no-net "$work/root" >/dev/null || fail "appstreamcli validate-tree"
    check_runs_through_link "$work/root/usr" "$work"
    ;;
*)
    echo "usage: $0 metadata <source dir> | tree <build dir> <work dir> | deb <build dir> <work dir>" >&2
    exit 2
    ;;
esac

[ $failures -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all checks passed"
