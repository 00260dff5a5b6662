#!/bin/bash
# Checks the exported pictures and sounds against art/expected.txt: for every picture its format,
# size, bit depth, channels (an alpha channel is transparency) and, for the palette pictures and
# the larger renders, the number of colours; the cursor's hot spot; that the twelve cards differ;
# for every sound its encoding, rate, channels, length (with its 0.3 s of silence after) and
# levels. Usage: art/check.sh [ROOT]. Prints the differences and exits 1 when there are any.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
A=src/screens/art
{
    identify -format '%d/%f %m %wx%h %z-bit %[channels] %[interlace]\n' img/*.jpg data/icons/*/*.png
    identify -format '%d/%f %m %wx%h %z-bit %[channels] %k colours\n' $A/*.gif $A/*.ico $A/*.cur $A/*.png
    echo "$A/bigarrow.cur hot spot $(od -An -tu2 -j10 -N4 $A/bigarrow.cur | xargs)"
    echo "distinct cards: $(identify -format '%#\n' img/*.jpg | sort -u | wc -l)"
    for f in sounds/*.wav; do
        levels=$(sox "$f" -n trim 0 -0.3 stats 2>&1 | awk '/^(Pk|RMS) lev dB/ { printf " %s %.0f dB", $1, $4 }')
        start=$(sox "$f" -n trim 0 0.01 stats 2>&1 | awk '/^Pk lev dB/ { print ($4 > -30 ? "at once" : "late") }')
        echo "$f $(for o in e b r c D; do soxi -$o "$f"; done | xargs) s,$levels, starts $start"
    done
} | diff -u art/expected.txt - && echo "check.sh: every picture and sound as expected"
