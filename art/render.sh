#!/bin/bash
# Renders every Merendella picture from the sources in art/src/ (see art/README.md).
# Debian packages used: librsvg2-bin imagemagick optipng sox fonts-comic-neue fonts-liberation2 fontconfig python3
# The sounds are made by art/sounds.sh (sox), called at the end.
# Re-running on unchanged sources writes byte-identical files.
set -euo pipefail

# Install the Debian packages only when a tool is missing.
need=""
command -v rsvg-convert >/dev/null 2>&1 || need="$need librsvg2-bin"
[[ "$(convert -version 2>/dev/null || true)" == *ImageMagick* ]] || need="$need imagemagick"
command -v fc-list >/dev/null 2>&1 || need="$need fontconfig"
[ -x /usr/bin/python3 ] || need="$need python3"
command -v optipng >/dev/null 2>&1 || need="$need optipng"
command -v sox >/dev/null 2>&1 || need="$need sox"
if command -v fc-list >/dev/null 2>&1; then
    families=$(fc-list : family)
    grep -q "Comic Neue" <<<"$families" || need="$need fonts-comic-neue"
    grep -q "Liberation Sans" <<<"$families" || need="$need fonts-liberation2"
else
    need="$need fonts-comic-neue fonts-liberation2"
fi
if [ -n "$need" ]; then
    echo "render.sh: installing$need"
    apt-get update && apt-get install -y --no-install-recommends $need
fi

ART="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(dirname "$ART")"
SRC="$ART/src"
BUILD="$ART/build"
PY=/usr/bin/python3
PALIMG="$ART/tools/palimg.py"
IMG="$ROOT/img"
EMB="$ROOT/src/screens/art"
ICONS="$ROOT/data/icons"

export LC_ALL=C
# No timestamps or other metadata in PNG output.
PNGCLEAN=(-strip +set date:create +set date:modify +set date:timestamp -define png:exclude-chunks=date,time)

rm -rf "$BUILD"
mkdir -p "$BUILD"/{cards,children,icons,appicon,sheet} "$IMG" "$EMB" "$ICONS/scalable"

STICKERS="1 2 3 4 5 7 10"
TARTS="0 1 2 3 4"
CARDS=""
for v in $STICKERS; do CARDS="$CARDS figurine$v"; done
for v in $TARTS; do CARDS="$CARDS torta$v"; done

# ---------------------------------------------------------------- cards: 512x512 baseline JPEG
for c in $CARDS; do
    rsvg-convert -w 512 -h 512 "$SRC/cards/$c.svg" -o "$BUILD/cards/$c.png"
    convert "$BUILD/cards/$c.png" -background white -alpha remove -alpha off \
        -colorspace sRGB -type TrueColor -interlace none -sampling-factor 2x2,1x1,1x1 \
        -quality 90 -define jpeg:optimize-coding=true -strip "$IMG/$c.jpg"
    size=$(stat -c %s "$IMG/$c.jpg")
    if [ "$size" -ge 81920 ]; then echo "render.sh: $c.jpg is $size bytes (limit 80 KB)" >&2; exit 1; fi
done

# ---------------------------------------------------------------- children: 130x255 GIF89a
# Binary transparency: alpha below 50% becomes the transparent colour.
binary_alpha=(-channel A -threshold 50% +channel -background black -alpha background)
for i in 1 2 3; do
    rsvg-convert -w 130 -h 255 "$SRC/children/child$i.svg" -o "$BUILD/children/child$i.png"
done
# child1: exactly the 7 drawing colours + transparent = an 8-colour table
convert "$BUILD/children/child1.png" "${binary_alpha[@]}" -depth 8 "pam:$BUILD/children/child1.pam"
"$PY" "$PALIMG" --palette "#1F1A2E,#F6C7A0,#F7D348,#FFFFFF,#2B3D80,#EE7F86,#C9D3E6" \
    gif "$EMB/child1.gif" 8 "$BUILD/children/child1.pam"
# child2, child3: up to 63 colours + transparent = a 64-colour table
for i in 2 3; do
    convert "$BUILD/children/child$i.png" "${binary_alpha[@]}" +dither -colors 64 -depth 8 \
        "pam:$BUILD/children/child$i.pam"
    "$PY" "$PALIMG" gif "$EMB/child$i.gif" 64 "$BUILD/children/child$i.pam"
done

# ---------------------------------------------------------------- icons and cursors
# $1 svg or xpm source, $2 size, $3 colours (including the transparent one), $4 output pam
icon_pam() {
    local src="$1" size="$2" colours="$3" out="$4" png="${4%.pam}.png"
    case "$src" in
        *.svg) rsvg-convert -w "$size" -h "$size" "$src" -o "$png" ;;
        *) convert "$src" "${PNGCLEAN[@]}" "png32:$png" ;;
    esac
    convert "$png" "${binary_alpha[@]}" +dither -colors "$colours" -depth 8 "pam:$out"
}
icon_pam "$SRC/icons/icecream.svg" 32 255 "$BUILD/icons/icecream.pam"
"$PY" "$PALIMG" ico "$EMB/icecream.ico" 8 "$BUILD/icons/icecream.pam"
icon_pam "$SRC/icons/lightbulb.svg" 32 255 "$BUILD/icons/lightbulb.pam"
"$PY" "$PALIMG" ico "$EMB/lightbulb.ico" 8 "$BUILD/icons/lightbulb.pam"
for n in strawberry star; do # the units of the counting aid
    icon_pam "$SRC/icons/$n.svg" 32 255 "$BUILD/icons/$n.pam"
    "$PY" "$PALIMG" ico "$EMB/$n.ico" 8 "$BUILD/icons/$n.pam"
done
icon_pam "$SRC/icons/waving.svg" 32 16 "$BUILD/icons/waving.pam"
"$PY" "$PALIMG" ico "$EMB/waving.ico" 4 "$BUILD/icons/waving.pam"
icon_pam "$SRC/icons/aeroplane.svg" 32 16 "$BUILD/icons/aeroplane.pam"
"$PY" "$PALIMG" ico "$EMB/aeroplane.ico" 4 "$BUILD/icons/aeroplane.pam"
icon_pam "$SRC/icons/rightarrow32.svg" 32 16 "$BUILD/icons/rightarrow32.pam"
icon_pam "$SRC/icons/rightarrow16.svg" 16 16 "$BUILD/icons/rightarrow16.pam"
"$PY" "$PALIMG" ico "$EMB/rightarrow.ico" 4 "$BUILD/icons/rightarrow32.pam" "$BUILD/icons/rightarrow16.pam"
icon_pam "$SRC/icons/bigarrow.xpm" 32 16 "$BUILD/icons/bigarrow.pam"
"$PY" "$PALIMG" cur "$EMB/bigarrow.cur" 4 3 1 "$BUILD/icons/bigarrow.pam"

# ---------------------------------------------------------------- larger renders: @2x and @4x PNG
# For large displays, which show the children and the icons several times larger than their
# designed size: the same drawings rendered at 2x and 4x, anti-aliased, full colour with alpha
# (not bound to the GIF and ICO colour tables). child1 is drawn with crispEdges for its
# 8-colour GIF; here it is smoothed like the others. optipng -nc keeps them 8-bit RGBA.
# $1 svg source, $2 width, $3 height, $4 output png
hires() {
    sed 's/ shape-rendering="crispEdges"//' "$1" | rsvg-convert -w "$2" -h "$3" -o "$BUILD/hires/${4##*/}"
    convert "$BUILD/hires/${4##*/}" "${PNGCLEAN[@]}" "png32:$4"
    optipng -quiet -o2 -nc -strip all "$4"
}
mkdir -p "$BUILD/hires"
for k in 2 4; do
    for i in 1 2 3; do
        hires "$SRC/children/child$i.svg" $((130 * k)) $((255 * k)) "$EMB/child$i@${k}x.png"
    done
    for n in icecream waving aeroplane rightarrow32 bigarrow lightbulb strawberry star; do
        hires "$SRC/icons/$n.svg" $((32 * k)) $((32 * k)) "$EMB/${n%32}@${k}x.png"
    done
done

# ---------------------------------------------------------------- application icon
cp "$SRC/appicon/org.merendella.Merendella.svg" "$ICONS/scalable/org.merendella.Merendella.svg"
for n in 16 32 48 64 128 256; do
    mkdir -p "$ICONS/${n}x${n}"
    rsvg-convert -w "$n" -h "$n" "$SRC/appicon/org.merendella.Merendella.svg" -o "$BUILD/appicon/$n.png"
    convert "$BUILD/appicon/$n.png" "${PNGCLEAN[@]}" "png32:$ICONS/${n}x${n}/org.merendella.Merendella.png"
done

# ---------------------------------------------------------------- contact sheet (not committed)
# Shows the exported files as decoded again: every picture at 1:1, the cards at 64 px and
# 450 px on the game's apricot background with a thin sunken border.
FONT=$(fc-match -f '%{file}' "Liberation Sans:bold")
S="$BUILD/sheet"
APRICOT="#FFE0C0"
title() { convert -background "$APRICOT" -fill "#402010" -font "$FONT" -pointsize "${2:-28}" "label:$1" "$3"; }
# a card as shown in the game: stretched to $2 px with a thin sunken border
card_at() {
    local n=$(($2 - 1))
    convert "$IMG/$1.jpg" -resize "$2x$2!" +antialias -fill none \
        -stroke "#8A6A50" -draw "line 0,0 $n,0" -draw "line 0,0 0,$n" \
        -stroke "#FFF8F0" -draw "line 0,$n $n,$n" -draw "line $n,0 $n,$n" \
        -bordercolor "$APRICOT" -border "$3" "$4"
}
list450=(); list64=(); list512=()
for c in $CARDS; do
    card_at "$c" 450 10 "$S/$c-450.png"; list450+=("$S/$c-450.png")
    card_at "$c" 64 6 "$S/$c-64.png"; list64+=("$S/$c-64.png")
    convert "$IMG/$c.jpg" -bordercolor "$APRICOT" -border 6 "$S/$c-512.png"; list512+=("$S/$c-512.png")
done
convert "${list450[@]:0:6}" +append "$S/r450a.png"
convert "${list450[@]:6:6}" +append "$S/r450b.png"
convert "${list64[@]}" +append "$S/r64.png"
convert "${list512[@]:0:6}" +append "$S/r512a.png"
convert "${list512[@]:6:6}" +append "$S/r512b.png"
convert "$EMB"/child1.gif "$EMB"/child2.gif "$EMB"/child3.gif -background "$APRICOT" -alpha remove \
    -bordercolor "$APRICOT" -border 12 +append "$S/children1.png"
convert "$EMB"/child1.gif "$EMB"/child2.gif "$EMB"/child3.gif -background "$APRICOT" -alpha remove \
    -resize '41x73!' -bordercolor "$APRICOT" -border 8 +append "$S/children41.png"
convert "$EMB"/child1.gif "$EMB"/child2.gif "$EMB"/child3.gif -background "$APRICOT" -alpha remove \
    -scale 400% -bordercolor "$APRICOT" -border 12 +append "$S/children4x.png"
icons=("$EMB/icecream.ico" "$EMB/waving.ico" "$EMB/aeroplane.ico" "$EMB/rightarrow.ico[0]" \
       "$EMB/rightarrow.ico[1]" "$EMB/bigarrow.cur" "$EMB/lightbulb.ico" "$EMB/strawberry.ico" "$EMB/star.ico")
convert "${icons[@]}" -background "$APRICOT" -alpha remove -bordercolor "$APRICOT" -border 8 \
    -gravity center +append "$S/icons1.png"
convert "${icons[@]}" -background "$APRICOT" -alpha remove -scale 800% -bordercolor "$APRICOT" -border 8 \
    -gravity center +append "$S/icons8x.png"
convert "${icons[@]}" -background white -alpha remove -bordercolor white -border 8 \
    -gravity center +append "$S/icons1w.png"
convert "$EMB"/child{1,2,3}@2x.png "$EMB"/child{1,2,3}@4x.png -background "$APRICOT" -alpha remove \
    -bordercolor "$APRICOT" -border 12 -gravity south +append "$S/children-hires.png"
larger=()
for k in 2 4; do for n in icecream waving aeroplane rightarrow bigarrow lightbulb strawberry star; do larger+=("$EMB/$n@${k}x.png"); done; done
convert "${larger[@]}" -background "$APRICOT" -alpha remove -bordercolor "$APRICOT" -border 8 \
    -gravity center +append "$S/icons-hires.png"
convert "${larger[@]}" -background white -alpha remove -bordercolor white -border 8 \
    -gravity center +append "$S/icons-hires-w.png"
apps=()
for n in 256 128 64 48 32 16; do apps+=("$ICONS/${n}x${n}/org.merendella.Merendella.png"); done
convert "${apps[@]}" -background "$APRICOT" -alpha remove -bordercolor "$APRICOT" -border 8 \
    -gravity center +append "$S/app.png"
title "Cards at 450 px (as in the game, sunken border)" 32 "$S/t1.png"
title "Cards at 64 px" 32 "$S/t2.png"
title "Cards at 1:1 (512 px)" 32 "$S/t3.png"
title "Children at 1:1, at 41x73 (1024x768 display) and 4x" 32 "$S/t4.png"
title "Icons and cursors at 1:1 (apricot, white) and 8x: icecream, waving, aeroplane, rightarrow 32 + 16, bigarrow, lightbulb, strawberry, star" 32 "$S/t5.png"
title "Application icon 256, 128, 64, 48, 32, 16" 32 "$S/t6.png"
title "Larger renders at 1:1: children @2x and @4x" 32 "$S/t7.png"
title "Larger renders at 1:1 (apricot, white): icecream, waving, aeroplane, rightarrow, bigarrow, lightbulb, strawberry, star @2x and @4x" 32 "$S/t8.png"
convert -background "$APRICOT" \
    "$S/t1.png" "$S/r450a.png" "$S/r450b.png" \
    "$S/t2.png" "$S/r64.png" \
    "$S/t4.png" \( "$S/children1.png" "$S/children41.png" "$S/children4x.png" -gravity south +append \) \
    "$S/t5.png" \( "$S/icons1.png" "$S/icons1w.png" "$S/icons8x.png" -gravity center +append \) \
    "$S/t6.png" "$S/app.png" \
    "$S/t7.png" "$S/children-hires.png" \
    "$S/t8.png" "$S/icons-hires.png" "$S/icons-hires-w.png" \
    "$S/t3.png" "$S/r512a.png" "$S/r512b.png" \
    -gravity northwest -append -bordercolor "$APRICOT" -border 20 \
    -depth 8 "${PNGCLEAN[@]}" "$BUILD/contact-sheet.png"

"$ART/sounds.sh"

echo "render.sh: done; contact sheet in ${BUILD#$ROOT/}/contact-sheet.png"
