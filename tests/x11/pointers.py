"""Reads the pointer's picture from the X server (XFixes) while it rests over the game's controls."""

import ctypes
import ctypes.util
import hashlib
import time

from x11session import Failure, wait_until


class XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong),
                ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


class CursorReader:
    def __init__(self, display_name):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.xfixes.XFixesQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                                     ctypes.POINTER(ctypes.c_int)]
        self.xfixes.XFixesQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                                   ctypes.POINTER(ctypes.c_int)]
        self.xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
        self.xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        self.dpy = self.x11.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise Failure("cannot open display %s for the pointer" % display_name)
        a, b = ctypes.c_int(), ctypes.c_int()
        if not self.xfixes.XFixesQueryExtension(self.dpy, ctypes.byref(a), ctypes.byref(b)):
            raise Failure("the X server has no XFixes")
        major, minor = ctypes.c_int(6), ctypes.c_int(0)
        self.xfixes.XFixesQueryVersion(self.dpy, ctypes.byref(major), ctypes.byref(minor))

    def image(self):
        """The current pointer: its size, hot spot and a digest of its pixels."""
        p = self.xfixes.XFixesGetCursorImage(self.dpy)
        if not p:
            raise Failure("XFixesGetCursorImage returned nothing")
        c = p.contents
        count = c.width * c.height
        pixels = bytes(memoryview(bytearray(
            b"".join((c.pixels[i] & 0xFFFFFFFF).to_bytes(4, "little") for i in range(count)))))
        result = (c.width, c.height, c.xhot, c.yhot, hashlib.sha1(pixels).hexdigest()[:12])
        self.x11.XFree(p)
        return result

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


def settled(reader):
    """The pointer once it has stopped changing (the program sets it on entering a control)."""
    last = [None]

    def probe():
        now = reader.image()
        same = now == last[0]
        last[0] = now
        return same and now
    time.sleep(0.3)
    return wait_until("the pointer to settle", probe, timeout=10)


def run(s, game):
    # Imported here so that the rest of the suite runs where ctypes cannot reach libXfixes.
    from merendella_x11 import AVVIO, FIGURINE, MENU_CLIENT, TITLE_CLIENT, check

    reader = CursorReader(s.display)
    try:
        game.start()
        game.wait_title()
        s.move(*game.point(AVVIO, TITLE_CLIENT))
        ice_cream = settled(reader)
        s.shot("pointer-start-button")
        s.click(*game.point(AVVIO, TITLE_CLIENT))
        game.wait_menu()
        s.move(*game.point(FIGURINE, MENU_CLIENT))
        big_arrow = settled(reader)
        s.click(*game.point(FIGURINE, MENU_CLIENT))
        game.wait_game()
        s.move(*game.card_point(1, 3))
        aeroplane = settled(reader)
        # The game's background keeps the system's own arrow.
        s.move(3, s.height / 2)
        standard = settled(reader)
        s.shot("pointer-game")
        seen = {"start button": ice_cream, "menu button": big_arrow, "card": aeroplane, "background": standard}
        print("pointers: %s" % seen)
        for name in ("start button", "menu button", "card"):
            check(seen[name] != standard, "the %s shows the standard arrow %s" % (name, standard))
        check(len({ice_cream, big_arrow, aeroplane}) == 3, "two controls share one pointer: %s" % seen)
    finally:
        reader.close()
