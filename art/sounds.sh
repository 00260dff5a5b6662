#!/bin/bash
# Makes the Merendella sounds in sounds/ with SoX (see art/README.md). The recipes below are
# the sources: change a frequency, a length or a level and run this script (or render.sh) again.
# Debian package used: sox. Re-running writes byte-identical files.
set -euo pipefail

if ! command -v sox >/dev/null 2>&1; then
    echo "sounds.sh: installing sox"
    apt-get update && apt-get install -y --no-install-recommends sox
fi

ART="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(dirname "$ART")"
OUT="$ROOT/sounds"
T="$ART/build/sounds"
export LC_ALL=C
rm -rf "$T"
mkdir -p "$T" "$OUT"

# -R: the same noise every run; -D: no dither (dither is random noise too). Working files are
# 32-bit float so that mixing never clips; only the finished sounds are 16-bit.
SOX=(sox -R -D -V1)
WORK=(-r 44100 -c 1 -b 32 -e floating-point)
FINAL=(-r 44100 -c 1 -b 16 -e signed-integer)

# Every sound is brought to the same loudness: RMS -18 dBFS measured over its length, but a
# peak never above -3 dBFS (so the short, spiky ones end up a little softer, never louder).
TARGET_RMS=-18
MAX_PEAK=-3
TAIL=0.3

# tone OUT SECONDS START_HZ END_HZ DECAY [FADE]
#   A soft sine tone with a quieter octave above it (a small mallet or bell). The pitch glides
#   from START_HZ to END_HZ (the same twice for a steady note). It starts at once (3 ms ramp)
#   and dies away exponentially, 60 dB down after DECAY seconds; the last FADE seconds
#   (default 20 ms) fade to zero.
tone() {
    local out="$1" len="$2" f1="$3" f2="$4" decay="$5" fade="${6:-0.02}"
    local ring
    # SoX's log fade falls 100 dB over its length: the tone is padded to that length for the
    # fade, then cut back to SECONDS
    ring=$(awk -v l="$len" -v d="$decay" 'BEGIN { r = d / 0.6; printf "%.4f\n", (r > l ? r : l) }')
    "${SOX[@]}" -n -r 44100 -c 2 "${WORK[@]}" "$T/$out.wav" \
        synth "$len" sine "$f1-$f2" sine "$(awk -v a="$f1" -v b="$f2" 'BEGIN { print 2 * a "-" 2 * b }')" \
        remix 1v0.8,2v0.2 pad 0 "$ring" fade l 0 "$ring" "$ring" trim 0 "$len" fade q 0.003 -0 "$fade"
}

# noise OUT SECONDS COLOUR LOW_HZ HIGH_HZ
#   A breath of filtered noise that swells and dies away (half-sine in, half-sine out).
noise() {
    local out="$1" len="$2" colour="$3" low="$4" high="$5"
    local half
    half=$(awk -v l="$len" 'BEGIN { printf "%.4f", l / 2 }')
    "${SOX[@]}" -n "${WORK[@]}" "$T/$out.wav" synth "$len" "$colour" \
        sinc "$low-$high" fade h "$half" -0 "$half"
}

# mix OUT IN:LEVEL:START ...   lays the pieces over each other, each at a level and a delay
#   (SoX works in fixed point: the levels are divided by the number of pieces, so that the sum
#   cannot clip; finish sets the loudness afterwards)
mix() {
    local out="$1" piece name level start
    shift
    local inputs=()
    for piece in "$@"; do
        IFS=: read -r name level start <<<"$piece"
        "${SOX[@]}" "$T/$name.wav" "$T/$name-at.wav" pad "$start"
        inputs+=(-v "$(awk -v l="$level" -v n=$# 'BEGIN { print l / n }')" "$T/$name-at.wav")
    done
    "${SOX[@]}" -m "${inputs[@]}" "${WORK[@]}" "$T/$out.wav"
}

# finish NAME   brings build/sounds/NAME.wav to the common loudness, cuts any silence at the
#   start, fades the last 15 ms and writes sounds/NAME.wav as 16-bit PCM, followed by 0.3 s of
#   silence: Qt's sound effects on PulseAudio end a stream a moment before its data runs out,
#   and the first few times a sound plays they would cut off its end instead of the silence
finish() {
    local name="$1" stat peak rms gain
    "${SOX[@]}" "$T/$name.wav" "$T/$name-trim.wav" silence 1 1 0.001%
    stat=$(sox "$T/$name-trim.wav" -n stat 2>&1)
    peak=$(awk '/^M(ax|in)imum amplitude/ { a = $3 < 0 ? -$3 : $3; if (a > p) p = a } END { print p }' <<<"$stat")
    rms=$(awk '/^RMS +amplitude/ { print $3 }' <<<"$stat")
    gain=$(awk -v p="$peak" -v r="$rms" -v t="$TARGET_RMS" -v m="$MAX_PEAK" 'BEGIN {
        g = t - 20 * log(r) / log(10); c = m - 20 * log(p) / log(10)
        printf "%.3f", (g < c ? g : c) }')
    "${SOX[@]}" "$T/$name-trim.wav" "${FINAL[@]}" "$OUT/$name.wav" gain "$gain" fade q 0 -0 0.015 pad 0 "$TAIL"
}

# ---------------------------------------------------------------- pick: a card is picked up
# a short, soft blip gliding up a sixth (600 -> 1000 Hz), 0.15 s
tone pick 0.15 600 1000 0.5 0.06
finish pick

# ---------------------------------------------------------------- swap: two cards change places
# two quick rising "pops", G5 then C6 (a fourth up), over a soft swish of pink noise, 0.38 s
tone swap1 0.16 700 784 0.4 0.05
tone swap2 0.26 940 1047 0.5 0.12
noise swish 0.3 pinknoise 600 5000
mix swap swap1:1:0 swap2:1:0.12 swish:0.5:0
finish swap

# ---------------------------------------------------------------- nothing: the move changes nothing
# a low, muffled "bump": a tone falling from 220 to 110 Hz with a puff of brown noise, 0.2 s
tone bump 0.2 220 110 0.3 0.08
noise puff 0.06 brownnoise 40 900
mix nothing bump:1:0 puff:0.5:0
"${SOX[@]}" "$T/nothing.wav" "$T/nothing-soft.wav" sinc -1200
mv "$T/nothing-soft.wav" "$T/nothing.wav"
finish nothing

# ---------------------------------------------------------------- click: a button is pressed
# a light wooden tick: a very short falling tone (1800 -> 1200 Hz) with a tap of noise, 0.05 s
tone tick 0.05 1800 1200 0.05 0.02
noise tap 0.008 whitenoise 2000 8000
mix click tick:1:0 tap:0.3:0
finish click

# ---------------------------------------------------------------- win: the game is won
# A little fanfare in C major: C5 E5 G5 C6 up, 0.12 s apart, each note ringing on so that they
# build the chord; then E6 G6 C7 E7 sparkle above it, quick and quiet; all rings out, 2.8 s.
tone c5 2.8 523.25 523.25 2.2
tone e5 2.7 659.26 659.26 2.1
tone g5 2.6 783.99 783.99 2.0
tone c6 2.4 1046.50 1046.50 2.0
tone e6 0.8 1318.51 1318.51 0.7
tone g6 0.8 1567.98 1567.98 0.7
tone c7 0.8 2093.00 2093.00 0.7
tone e7 1.1 2637.02 2637.02 1.0
mix win c5:0.7:0 e5:0.7:0.12 g5:0.7:0.24 c6:0.9:0.36 \
    e6:0.3:0.62 g6:0.3:0.69 c7:0.3:0.76 e7:0.35:0.83
finish win

echo "sounds.sh: done"
