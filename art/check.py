#!/usr/bin/python3
"""Checks the exported pictures and sounds: python3 art/check.py [ROOT]. Exit 0 when all hold,
1 with every failure printed, 77 when identify or soxi is missing (see art/README.md)."""
import hashlib, os, shutil, struct, subprocess, sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
A, APP = "src/screens/art/", "data/icons/%dx%d/org.merendella.Merendella.png"
# path, kind, size (width, height; ico/cur: its square images; wav: shortest and longest seconds
# before the silence after it),
# then if needed the detail (gif: colour table size; ico/cur: bits per pixel) and the hot spot
FILES = [(A + "child1.gif", "gif", (130, 255), 8), (A + "child2.gif", "gif", (130, 255), 64),
         (A + "child3.gif", "gif", (130, 255), 64), (A + "icecream.ico", "ico", (32,), 8),
         (A + "waving.ico", "ico", (32,), 4), (A + "aeroplane.ico", "ico", (32,), 4),
         (A + "rightarrow.ico", "ico", (32, 16), 4), (A + "bigarrow.cur", "cur", (32,), 4, (3, 1)),
         (A + "bigarrow@2x.png", "png", (64, 64), 0, (6, 2)), (A + "bigarrow@4x.png", "png", (128, 128), 0, (12, 4)),
         ("sounds/pick.wav", "wav", (0.12, 0.2)), ("sounds/swap.wav", "wav", (0.3, 0.45)),
         ("sounds/nothing.wav", "wav", (0.15, 0.25)), ("sounds/click.wav", "wav", (0.04, 0.08)),
         ("sounds/win.wav", "wav", (2.0, 3.5)), ("data/icons/scalable/org.merendella.Merendella.svg", "svg", None)] \
    + [("img/%s.jpg" % c, "jpg", (512, 512)) for c in "figurine1 figurine2 figurine3 figurine4 figurine5 figurine7 "
       "figurine10 torta0 torta1 torta2 torta3 torta4".split()] \
    + [(A + "child%d@%dx.png" % (i, k), "png", (130 * k, 255 * k)) for i in (1, 2, 3) for k in (2, 4)] \
    + [(A + "%s@%dx.png" % (n, k), "png", (32 * k, 32 * k)) for n in ("icecream", "waving", "aeroplane", "rightarrow")
       for k in (2, 4)] + [(APP % (n, n), "png", (n, n)) for n in (16, 32, 48, 64, 128, 256)]
RMS_DB, PEAK_DB, TAIL = -18.0, -3.0, 0.3  # the loudness art/sounds.sh gives every sound, and its silence after

def run(*args):
    r = subprocess.run(args, capture_output=True, text=True)
    return r.stdout + r.stderr

def need(ok, failure):
    return [] if ok else [failure]

def alpha(image, fx, crop="100%"):  # an fx expression over the alpha channel (0..1) of a region
    return float(run("convert", image, "-alpha", "extract", "-crop", crop, "+repage",
                     "-format", "%[fx:" + fx + "]", "info:"))

def check_alpha(image, hot):  # transparent corners, a picture between; the hot spot on the tip, nothing above or left
    stray = hot and alpha(image, "maxima", "999x%d+0+0" % hot[1]) + alpha(image, "maxima", "%dx999+0+0" % hot[0])
    return need(alpha(image, "p{0,0}+p{w-1,0}+p{0,h-1}+p{w-1,h-1}") == 0, "corners not transparent") + \
        need(alpha(image, "mean") > 0.1, "almost empty") + \
        need(not hot or alpha(image, "p{%d,%d}" % hot) == 1 and not stray, "hot spot %s not on the tip" % (hot,))

def levels(path, *effects):  # SoX's stats in dB
    out = run("sox", path, "-n", *effects, "stats").splitlines()
    return {k: float(v) for k, v in (l.rsplit(None, 1) for l in out if " dB " in l)}

def check(path, kind, size, detail, hot, data):
    if kind == "jpg":  # interlace None: baseline, not progressive; srgb: colour, three components
        info = run("identify", "-format", "%m %w %h %[channels] %[interlace]", path).split()
        return need(info == ["JPEG", "512", "512", "srgb", "None"], "identify: %s" % info) + \
            need(len(data) < 80 * 1024, "%d bytes, over 80 KB" % len(data))
    if kind == "gif":  # header, size, global colour table, transparent colour, one frame
        w, h, packed = struct.unpack_from("<HHB", data, 6)
        gce, frames = data.find(b"\x21\xf9\x04"), run("identify", path).count("\n")  # gce: transparent colour flag
        got = (data[:6], (w, h), packed & 0x80 and 2 << (packed & 7), gce > 0 and data[gce + 3] & 1, frames)
        return need(got == (b"GIF89a", size, detail, 1, 1), "header, size, table, transparent, frames: %s" % (got,)) \
            + check_alpha(path, hot)
    if kind in ("ico", "cur"):  # directory, then an uncompressed BMP with an AND mask per image
        _, typ, count = struct.unpack_from("<HHH", data)
        bad = need((typ, count) == ((1 if kind == "ico" else 2), len(size)), "type %d, %d images" % (typ, count))
        for i, n in enumerate(size[:count]):
            w, h, _, _, f1, f2, _, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            bmp = struct.unpack_from("<IiiHHI", data, off)
            got = (w, h, bmp, (f1, f2) if kind == "cur" else None)  # a cursor's hot spot: in place of planes, bits
            bad += need(got == (n, n, (40, n, 2 * n, 1, detail, 0), hot), "image %d: %s" % (i, got))
            bad += check_alpha("%s[%d]" % (path, i), hot)
        return bad
    if kind == "png":
        got = (data[:8],) + struct.unpack_from(">IIBB", data, 16)
        return need(got == (b"\x89PNG\r\n\x1a\n", *size, 8, 6), "not %dx%d 8-bit RGBA" % size) + check_alpha(path, hot)
    if kind == "svg":
        return need(b'viewBox="0 0 128 128"' in data and data.strip().endswith(b"</svg>"), "not the 128 px svg")
    fmt = struct.unpack_from("<4s4x4s4x4xHHIIHH", data)  # wav: the fmt chunk comes first
    if fmt != (b"RIFF", b"WAVE", 1, 1, 44100, 88200, 2, 16):
        return ["not 16-bit mono 44.1 kHz PCM: %s" % (fmt,)]
    seconds, db = float(run("soxi", "-D", path)) - TAIL, levels(path, "trim", "0", "-%g" % TAIL)
    after = levels(path, "trim", "-%g" % TAIL)["Pk lev dB"]
    peak, rms, start = db["Pk lev dB"], db["RMS lev dB"], levels(path, "trim", "0", "0.01")["Pk lev dB"]  # first 10 ms
    loud = peak < PEAK_DB + 0.05 and (abs(rms - RMS_DB) < 0.3 or abs(peak - PEAK_DB) < 0.1)  # on target, or capped
    return need(size[0] <= seconds <= size[1], "%.3f s long" % seconds) + need(start > -26, "silent start") + \
        need(loud, "peak %.1f, RMS %.1f dBFS" % (peak, rms)) + need(after < -90, "no silence after it")

if not all(shutil.which(t) for t in ("identify", "convert", "soxi", "sox")):
    print("check.py: skipped, needs identify, convert (imagemagick), soxi and sox (sox)")
    sys.exit(77)
failures, cards = [], set()
for path, *row in ((*f, None, None)[:5] for f in FILES):
    data = open(full, "rb").read() if os.path.isfile(full := os.path.join(ROOT, path)) else b""
    try:
        bad = check(full, *row, data) if data else ["missing or empty"]
    except (struct.error, ValueError, KeyError, IndexError) as e:
        bad = ["unreadable (%s)" % str(e).strip().splitlines()[0][:100]]
    cards |= {hashlib.sha256(data).digest()} if row[0] == "jpg" else set()
    failures += ["%s: %s" % (path, b) for b in bad]
failures += need(len(cards) == 12, "the 12 cards are not all different")
print("\n".join(failures) or "check.py: all %d files hold" % len(FILES))
sys.exit(1 if failures else 0)
