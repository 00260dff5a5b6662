#!/usr/bin/python3
"""Small deterministic encoders for palette pictures (standard library only).

Reads RGBA pictures as PAM files (written by ImageMagick: convert X -depth 8 pam:file)
and writes:

  gif  OUT SIZE IN.pam
        GIF89a, one frame, a global colour table of exactly SIZE entries
        (2, 4, ..., 256), entry 0 transparent.  The opaque pixels must use at most
        SIZE-1 colours (quantise before, or pass --palette).

  ico  OUT BITS IN.pam [IN.pam ...]
        Windows icon, one image per input, BITS = 4 (16 colours) or 8 (256),
        BMP data with an AND mask for the transparent pixels.

  cur  OUT BITS HOTX HOTY IN.pam
        Windows cursor, like ico but with the hot spot in the directory entry.

Options (before the command):
  --palette #rrggbb,#rrggbb,...   map every opaque pixel to the nearest of these
                                  colours instead of requiring an exact palette.

A pixel is transparent when its alpha is below 128, opaque otherwise.
"""

import struct
import sys


def read_pam(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"P7\n"):
        sys.exit(f"{path}: not a PAM file")
    end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    fields = {}
    for line in data[3:end].decode("ascii").splitlines():
        parts = line.split()
        if len(parts) >= 2:
            fields[parts[0]] = parts[1]
    w, h = int(fields["WIDTH"]), int(fields["HEIGHT"])
    depth, maxval = int(fields["DEPTH"]), int(fields["MAXVAL"])
    if maxval != 255:
        sys.exit(f"{path}: need 8-bit samples (convert -depth 8)")
    raw = data[end:end + w * h * depth]
    pixels = []
    for i in range(w * h):
        px = raw[i * depth:(i + 1) * depth]
        if depth == 4:
            r, g, b, a = px
        elif depth == 3:
            (r, g, b), a = px, 255
        elif depth == 2:
            r = g = b = px[0]
            a = px[1]
        else:
            r = g = b = px[0]
            a = 255
        pixels.append(None if a < 128 else (r, g, b))
    return w, h, pixels


def parse_palette(text):
    cols = []
    for item in text.split(","):
        item = item.strip().lstrip("#")
        cols.append((int(item[0:2], 16), int(item[2:4], 16), int(item[4:6], 16)))
    return cols


def map_to_palette(pixels, palette):
    cache = {}
    out = []
    for p in pixels:
        if p is None:
            out.append(None)
            continue
        if p not in cache:
            cache[p] = min(palette, key=lambda c: ((c[0] - p[0]) ** 2 * 3 + (c[1] - p[1]) ** 2 * 4
                                                  + (c[2] - p[2]) ** 2 * 2, c))
        out.append(cache[p])
    return out


def opaque_colours(pixels):
    # Deterministic order: darkest first, then by value.
    cols = sorted({p for p in pixels if p is not None},
                  key=lambda c: (c[0] * 299 + c[1] * 587 + c[2] * 114, c))
    return cols


# ---------------------------------------------------------------- GIF

def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    bitbuf = 0
    bitcount = 0

    def emit(code, size):
        nonlocal bitbuf, bitcount
        bitbuf |= code << bitcount
        bitcount += size
        while bitcount >= 8:
            out.append(bitbuf & 0xFF)
            bitbuf >>= 8
            bitcount -= 8

    code_size = min_code_size + 1
    table = {}
    next_code = eoi + 1
    emit(clear, code_size)
    prefix = None
    for k in indices:
        if prefix is None:
            prefix = k
            continue
        key = (prefix, k)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, code_size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear, code_size)
            table = {}
            next_code = eoi + 1
            code_size = min_code_size + 1
        prefix = k
    if prefix is not None:
        emit(prefix, code_size)
    emit(eoi, code_size)
    if bitcount:
        out.append(bitbuf & 0xFF)
    return bytes(out)


def write_gif(out_path, size, w, h, pixels):
    bits = size.bit_length() - 1
    if size < 2 or size > 256 or (1 << bits) != size:
        sys.exit("gif: colour table size must be a power of two from 2 to 256")
    cols = opaque_colours(pixels)
    if len(cols) > size - 1:
        sys.exit(f"gif {out_path}: {len(cols)} opaque colours, table holds {size - 1} + transparent")
    index = {c: i + 1 for i, c in enumerate(cols)}
    table = [(255, 255, 255)] + cols + [(0, 0, 0)] * (size - 1 - len(cols))
    indices = [0 if p is None else index[p] for p in pixels]

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", w, h, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    for r, g, b in table:
        data += bytes((r, g, b))
    # Graphic control extension: transparent colour index 0, no delay.
    data += bytes((0x21, 0xF9, 0x04, 0x01, 0, 0, 0, 0))
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0)
    min_code = max(2, bits)
    data.append(min_code)
    lzw = lzw_encode(indices, min_code)
    for i in range(0, len(lzw), 255):
        chunk = lzw[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data.append(0)
    data.append(0x3B)
    with open(out_path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- ICO / CUR

def bmp_image(bits, w, h, pixels):
    size = 1 << bits
    cols = opaque_colours(pixels)
    # Index 0 is black: transparent pixels are black in the colour bitmap and set in
    # the AND mask, so the screen shows through unchanged.
    if (0, 0, 0) in cols:
        cols.remove((0, 0, 0))
    if len(cols) > size - 1:
        sys.exit(f"ico: {len(cols) + 1} colours do not fit in {size}")
    palette = [(0, 0, 0)] + cols + [(0, 0, 0)] * (size - 1 - len(cols))
    index = {c: i for i, c in enumerate(palette) if i == 0 or c != (0, 0, 0)}
    index[(0, 0, 0)] = 0

    xor_stride = ((w * bits + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up rows
        row = pixels[y * w:(y + 1) * w]
        line = bytearray(xor_stride)
        mline = bytearray(and_stride)
        for x, p in enumerate(row):
            i = 0 if p is None else index[p]
            if bits == 8:
                line[x] = i
            else:
                line[x >> 1] |= i << (4 if x % 2 == 0 else 0)
            if p is None:
                mline[x >> 3] |= 0x80 >> (x & 7)
        xor += line
        mask += mline
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(mask)


def write_icon(out_path, kind, bits, images, hotspot=None):
    count = len(images)
    data = bytearray(struct.pack("<HHH", 0, 2 if kind == "cur" else 1, count))
    blobs = [bmp_image(bits, w, h, px) for (w, h, px) in images]
    offset = 6 + 16 * count
    for (w, h, _), blob in zip(images, blobs):
        colours = 0 if bits >= 8 else 1 << bits
        if kind == "cur":
            f1, f2 = hotspot
        else:
            f1, f2 = 1, bits
        data += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, f1, f2, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        data += blob
    with open(out_path, "wb") as f:
        f.write(data)


def main(argv):
    palette = None
    while argv and argv[0].startswith("--"):
        if argv[0] == "--palette":
            palette = parse_palette(argv[1])
            argv = argv[2:]
        else:
            sys.exit(f"unknown option {argv[0]}")
    if not argv:
        sys.exit(__doc__)
    cmd = argv[0]

    def load(path):
        w, h, px = read_pam(path)
        if palette:
            px = map_to_palette(px, palette)
        return w, h, px

    if cmd == "gif":
        out, size, src = argv[1], int(argv[2]), argv[3]
        write_gif(out, size, *load(src))
    elif cmd == "ico":
        out, bits, srcs = argv[1], int(argv[2]), argv[3:]
        write_icon(out, "ico", bits, [load(s) for s in srcs])
    elif cmd == "cur":
        out, bits, hx, hy, src = argv[1], int(argv[2]), int(argv[3]), int(argv[4]), argv[5]
        write_icon(out, "cur", bits, [load(src)], (hx, hy))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
