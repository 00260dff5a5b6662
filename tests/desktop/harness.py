"""Real desktops for the real-window tests: a private X server (bare, or with xfwm4 and a panel) or a
headless sway with a bar, and a private sound server, each driven through its own tools."""

import ctypes, glob, json, os, pwd, re, select, shutil, signal, socket, struct, subprocess  # noqa: E401
import tempfile, time, wave  # noqa: E401
from collections import namedtuple

WAIT = 40.0  # generous: the machines are shared, and a 4K screenshot is slow there
PANEL = (32, 32, 32)  # the colour of the panel (X11) and of the bar (sway)
ROOT = os.geteuid() == 0  # who may start programs as another user, and must start sway as one


class Failure(Exception):
    """A check on the game, or on the desktop it runs in, did not hold."""


def wait_until(what, probe, timeout=WAIT, every=0.15):
    """Polls probe until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(every)
    return value


def near(a, b, tolerance):
    return all(abs(int(p) - int(q)) <= tolerance for p, q in zip(a, b))


def log_of(child):
    with open(child.log_path, errors="replace") as f:
        return f.read()


def _run(argv, env, check=True):
    try:
        done = subprocess.run(argv, env=env, capture_output=True, timeout=WAIT)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not finish within %.0f s" % (" ".join(argv), WAIT))
    if check and done.returncode:
        raise Failure("%s failed (%d): %s" % (" ".join(argv), done.returncode, done.stderr.decode(errors="replace")))
    return done.stdout


class Shot(namedtuple("Shot", "width height data")):
    """A screenshot as raw RGB rows."""

    def pixel(self, x, y):
        at = (int(y) * self.width + int(x)) * 3
        return tuple(self.data[at:at + 3])

    def fraction_of(self, rect, colour, tolerance=3, step=2):
        x, y, w, h = rect
        seen = [near(self.pixel(i, j), colour, tolerance) for j in range(y, y + h, step) for i in range(x, x + w, step)]
        return sum(seen) / max(1, len(seen))

    def signature(self, rect, grid=16, inset=0.08, n=4):
        """Mean colours of grid x grid cells inside a rectangle: a picture recognised at any size."""
        x, y, w, h = rect
        x0, y0, cw, ch = x + w * inset, y + h * inset, w * (1 - 2 * inset) / grid, h * (1 - 2 * inset) / grid
        cells = [[self.pixel(x0 + cw * (gx + (sx + 0.5) / n), y0 + ch * (gy + (sy + 0.5) / n))
                  for sy in range(n) for sx in range(n)] for gy in range(grid) for gx in range(grid)]
        return [tuple(sum(p[c] for p in cell) / len(cell) for c in range(3)) for cell in cells]


class Window(namedtuple("Window", "id title pid x y w h state")):
    """A mapped top-level and what the window manager says of it (FULLSCREEN, DIALOG, FLOATING...)."""
    rect = property(lambda self: (self.x, self.y, self.w, self.h))


class Session:
    """A private folder any user may enter, an environment with nothing of the caller's session, and
    the processes started there, ended newest first. Subclasses start their own in _start."""

    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="merendella-", dir="/tmp")  # /tmp: other users must reach in
        os.chmod(self.tmp, 0o711)
        self.children = []
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(
            ("XDG_", "DBUS_", "PULSE_", "WAYLAND_", "DISPLAY", "SWAYSOCK", "QT_QPA_PLATFORM"))}
        self.env.update(HOME=self.folder("home"), XDG_RUNTIME_DIR=self.folder("runtime"),
                        DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.tmp, "no-bus"),
                        XDG_CONFIG_HOME=self.folder("config"))
        os.chmod(self.env["XDG_CONFIG_HOME"], 0o755)  # no speech service unless a test starts one
        os.makedirs(os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher"))
        with open(os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher", "speechd.conf"), "w") as conf:
            conf.write("DisableAutoSpawn\n")
        try:
            self._start()
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def folder(self, name, user=None):
        path = os.path.join(self.tmp, name)
        os.makedirs(path, mode=0o700, exist_ok=True)
        if user:
            os.chown(path, user.pw_uid, user.pw_gid)
        return path

    def spawn(self, argv, log, env=None, user=None, **popen):
        """Starts a program that dies with the test (as another user, with folders of its own), logging to log.log."""
        env = dict(self.env if env is None else env)
        if user:
            entry = pwd.getpwnam(user)
            env.update(HOME=self.folder("home-" + user, entry), XDG_RUNTIME_DIR=self.folder("run-" + user, entry))
            popen.update(user=entry.pw_uid, group=entry.pw_gid, extra_groups=[])
        with open(os.path.join(self.tmp, log + ".log"), "ab") as out:
            child = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                     preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL), **popen)
        child.log_path, child.env = out.name, env
        self.children.append(child)
        return child

    def end(self, child, how=signal.SIGTERM):
        if child.poll() is None:
            child.send_signal(how)
            try:
                child.wait(10)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()

    def run(self, argv, check=True):
        return _run(argv, self.env, check).decode(errors="replace")

    def sound_server(self):
        """Starts a private PulseAudio server with null sinks that record what plays, the game's sounds
        and the voice apart; returns the environment of its clients."""
        native = os.path.join(self.env["XDG_RUNTIME_DIR"], "native")
        with open(os.path.join(self.tmp, "client.conf"), "w") as conf:
            conf.write("autospawn = no\n")
        env = dict(self.env, PULSE_SERVER="unix:" + native, PULSE_CLIENTCONFIG=conf.name)
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1", "--realtime=no",
                    "-L", "module-null-sink sink_name=merendella", "-L", "module-null-sink sink_name=voice", "-L",
                    "module-null-sink sink_name=reader", "-L",
                    "module-native-protocol-unix auth-anonymous=1 socket=" + native], "pulseaudio", env)
        wait_until("PulseAudio to take clients", lambda: _run(["pactl", "info"], env, False))
        return env

    def speech_server(self, env, voice="roa/it", sink="voice", written=None):
        """Starts a private speech-dispatcher speaking into a sink of the sound server, with one of espeak-ng's
        voices alone (listing its thousands would take seconds); returns its clients' env. With written, a voice
        of that language that writes what it is given, a line each, into the file written.said instead."""
        system, data, conf = glob.glob("/usr/lib/*/espeak-ng-data")[0], self.folder(sink + "/espeak-ng-data"), \
            self.folder(sink + "/speechd")
        for name in set(os.listdir(system)) - {"lang", "voices"}:
            os.symlink(os.path.join(system, name), os.path.join(data, name))
        os.makedirs(os.path.join(data, "lang", os.path.dirname(voice)))
        os.symlink(os.path.join(system, "lang", voice), os.path.join(data, "lang", voice))
        shutil.copytree("/etc/speech-dispatcher/modules", os.path.join(conf, "modules"))
        module = 'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\n'
        if written:
            with open(os.path.join(conf, "modules", "words.conf"), "w") as f:
                f.write('GenericExecuteSynth "printf \'%%s\\\\n\' \\\'$DATA\\\' >> %s"\nAddVoice "%s" "female1" "words"\n'
                        'GenericLanguage "%s" "%s" "utf-8"\n' % (os.path.join(self.tmp, written + ".said"), written,
                                                                written, written))
            module, voice = 'AddModule "words" "sd_generic" "words.conf"\nDefaultModule words\n', written
        with open(os.path.join(conf, "speechd.conf"), "w") as f:
            f.write('AudioOutputMethod "pulse"\n%sDefaultLanguage "%s"\nDisableAutoSpawn\n' % (
                module, os.path.basename(voice)))
        socket_path = os.path.join(self.tmp, sink + ".sock")
        self.spawn(["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-c", "unix_socket", "-S", socket_path, "-L",
                    self.folder(sink), "-P", os.path.join(self.tmp, sink + ".pid")], "speechd-" + sink, dict(
                        env, LC_ALL="C.UTF-8", PULSE_SINK=sink, ESPEAK_DATA_PATH=os.path.dirname(data)))
        wait_until("speech-dispatcher", lambda: os.path.exists(socket_path))
        return dict(env, SPEECHD_ADDRESS="unix_socket:" + socket_path)

    def screen_reader(self, env):
        """Starts Orca on an accessibility bus of the session bus in env (the test's own), told that a screen
        reader runs, speaking through env's speech service. Returns it, with the file of what it says (written
        out in full once it has ended) as its said."""
        env = dict(env, GSETTINGS_BACKEND="memory", HOME=self.folder("orca-home"), NO_AT_BRIDGE="1")
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], "a11y-bus", env)
        ask = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/", "org.freedesktop.DBus."
               "NameHasOwner", "string:org.a11y.Bus"]  # asked so, the bus does not start a launcher of its own
        wait_until("the accessibility bus", lambda: "true" in _run(ask, env, False).decode())
        _run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus."
              "Properties.Set", "string:org.a11y.Status", "string:ScreenReaderEnabled", "variant:boolean:true"], env)
        said = os.path.join(self.tmp, "orca.debug")
        # Orca ends every other Orca of its user that it sees, and will not start beside one: in a PID
        # namespace of its own it sees none. It is ended there itself: unshare takes no SIGTERM.
        orca = self.spawn(["unshare", "--map-current-user", "--pid", "--fork", "--mount-proc", "--kill-child", "orca",
                           "--debug-file", said], "orca", env)
        wait_until("Orca", lambda: os.path.exists(said) and "ORCA: Initialized" in open(said).read())
        inner = int(open("/proc/%d/task/%d/children" % (orca.pid, orca.pid)).read().split()[0])
        orca.said, orca.send_signal = said, lambda how: os.kill(inner, how)
        return orca

    def record(self, env, sink="merendella"):
        """Starts recording all that plays on a sink of the sound server, and returns once sound data flows."""
        wav = os.path.join(self.tmp, "sound-%d.wav" % len(self.children))
        self.recorder = self.spawn(["parecord", "--device=%s.monitor" % sink, "--file-format=wav", "--channels=1",
                                    "--latency-msec=50", wav], "parecord", env)
        wait_until("the recording", lambda: os.path.exists(wav) and os.path.getsize(wav) > 44)

    def stop(self):
        """Ends the recording and returns its peak (1.0: full scale), the seconds above 0.1 % of it, and how long
        each sound was: each stretch above it, in seconds, a stretch going on over less than 50 ms below."""
        time.sleep(0.5)  # the last moment of a sound is still on its way
        self.end(self.recorder, signal.SIGINT)
        with wave.open(self.recorder.args[-1]) as w:
            rate, samples = w.getframerate(), memoryview(w.readframes(w.getnframes())).cast("h")
        loud = [max(map(abs, samples[at:at + rate // 100])) > 33 for at in range(0, len(samples), rate // 100)]
        runs = [len(r.strip("0")) / 100 for r in re.split("0{5,}", "".join("01"[x] for x in loud)) if "1" in r]
        return {"peak": max(map(abs, samples), default=0) / 32768, "loud": sum(loud) / 100, "runs": runs}

    def no_sound_env(self):
        """For a client that must find no sound server: none named, none in its folders, none started."""
        with open(os.path.join(self.tmp, "no-sound.conf"), "w") as conf:
            conf.write("autospawn = no\ndefault-server = unix:%s/none\n" % self.tmp)
        return dict(self.env, PULSE_CLIENTCONFIG=conf.name, XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=self.tmp))

    def close(self):
        while self.children:
            self.end(self.children.pop())
        shutil.rmtree(self.tmp, ignore_errors=True)


class Desktop(Session):
    """What every desktop offers; its kinds bring _windows, activate, move, button, key and _shot."""

    def __init__(self, width, height, shots):
        self.width, self.height, self.shots, self.count, self.panel_rect, self.baseline = width, height, shots, 0, None, ()
        os.makedirs(shots, exist_ok=True)
        for old in (f for f in os.listdir(shots) if f.endswith(".png")):
            os.remove(os.path.join(shots, old))
        super().__init__()

    def windows(self, pid=None):
        """Mapped top-levels other than the desktop's own, of one process when pid is given."""
        return [w for w in self._windows() if w.id not in self.baseline and pid in (None, w.pid)]

    def box(self, title):
        """Waits for a window with this title that the window manager takes for a dialog (sway floats them)."""
        return wait_until("a box titled %r" % title, lambda: next(
            (w for w in self.windows() if w.title == title and w.state & {"DIALOG", "FLOATING"}), None))

    def answer(self, box, key="Return"):
        """Gives a box the keyboard and presses a key, again while it stays: a box is mapped a moment
        before it takes keys, and a key that comes too early is lost."""
        for _ in range(5):
            self.activate(box, check=False)
            time.sleep(0.2)
            self.key(key)
            try:
                return wait_until("the box to go", lambda: all(w.id != box.id for w in self.windows()), 3)
            except Failure:
                pass
        raise Failure("the box %r stayed after %s was pressed five times" % (box.title, key))

    def click(self, x, y):
        self.drag((x, y), (x, y), steps=0)

    def drag(self, start, end, steps=6):
        """Presses at start, moves in steps to end and lets go: with no steps, a click."""
        self.move(*start)
        time.sleep(0.1)
        self.button(True)
        for i in range(1, steps + 1):
            time.sleep(0.05)
            self.move(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
        time.sleep(0.1)
        self.button(False)

    def shot(self, name=None):
        """A screenshot of the whole screen; with a name also kept as NN-name.png."""
        shot = self._shot()
        if name:
            self.count += 1
            subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8", "rgb:-",
                            os.path.join(self.shots, "%02d-%s.png" % (self.count, name))], input=shot.data, check=True)
        return shot


class X11(Desktop):
    """An Xvfb of its own; with panel=True also xfwm4, and a tint2 panel along the bottom that
    ordinary windows leave free and full-screen ones cover."""

    def __init__(self, width, height, shots, panel=False, bus=False):
        self.panel, self.bus = panel, bus
        super().__init__(width, height, shots)

    def _start(self):
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self._server()
        if self.panel or self.bus:  # xfwm4 reads its settings over a session bus, a screen reader its objects
            self._bus()
        if self.panel:
            self.spawn(["xfwm4", "--compositor=off", "--sm-client-disable"], "xfwm4", dict(self.env, NO_AT_BRIDGE="1"))
            with open(os.path.join(self.tmp, "tint2rc"), "w") as rc:  # tint2's normal layer: over windows, under
                rc.write("panel_items = T\npanel_size = 100%% 32\npanel_position = bottom center horizontal\n"  # full
                         "panel_layer = normal\nstrut_policy = follow_size\nbackground_color = #%02x%02x%02x 100\n"
                         "panel_background_id = 1\ntask_font_color = #ffffff 100\n" % PANEL)  # screen ones
            self.spawn(["tint2", "-c", rc.name], "tint2")
            self.panel_rect = wait_until("xfwm4 and tint2's panel", self._panel)
        self.baseline = {w.id for w in self._windows()}

    def _bus(self):
        bus = os.path.join(self.tmp, "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
        self.spawn(["dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus], "dbus")
        wait_until("the session bus", lambda: os.path.exists(bus))

    def restart(self):
        self._server()

    def _server(self):
        # Xvfb takes the first display number free and says which once it takes clients; -noreset:
        # a server that resets when its last client leaves refuses the clients that come meanwhile.
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (self.width, self.height),
                    "-nolisten", "tcp", "-noreset"], "xvfb", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.env["DISPLAY"] = ":" + (pipe.readline() if select.select([pipe], [], [], WAIT)[0] else "").strip()
        if self.env["DISPLAY"] == ":":
            raise Failure("Xvfb did not start:\n" + log_of(self.children[-1])[-800:])

    def _panel(self):
        panel = [w for w in self._windows() if w.title == "tint2"]
        return panel and "%d, %d" % (self.width, self.height - panel[0].h) in \
            self.run(["xprop", "-root", "_NET_WORKAREA"], False) and panel[0].rect

    def _windows(self):
        found = []
        for wid in self.run(["xdotool", "search", "--onlyvisible", "--classname", "."], False).split():
            info = self.run(["xwininfo", "-id", wid], False)
            props = self.run(["xprop", "-id", wid, "_NET_WM_PID", "_NET_WM_STATE", "_NET_WM_WINDOW_TYPE"], False)
            place = [int(v) for v in re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info)]
            title = re.search(r'^xwininfo: Window id: \S+ "(.*)"$', info, re.M)
            pid = re.search(r"_NET_WM_PID\(CARDINAL\) = (\d+)", props)
            state = set(re.findall(r"_NET_WM_STATE_(\w+)", props)) | {"DIALOG"} & set(re.findall(r"TYPE_(\w+)", props))
            if len(place) == 4:  # else it went away meanwhile
                found.append(Window(int(wid), title.group(1) if title else "", pid and int(pid.group(1)), *place,
                                    frozenset(state)))
        return found

    def activate(self, window, check=True):
        """Raises a window and gives it the keyboard; a minimised one comes back."""
        self.run(["xdotool", "windowactivate" if self.panel else "windowfocus", "--sync", str(window.id)], check)

    def minimise(self, window):
        self.run(["xdotool", "windowminimize", "--sync", str(window.id)])

    def move(self, x, y):
        self.run(["xdotool", "mousemove", str(int(x)), str(int(y))])

    def button(self, down):
        self.run(["xdotool", "mousedown" if down else "mouseup", "1"])

    def key(self, *names):
        self.run(["xdotool", "key", "--clearmodifiers", "--delay", "60", *names])

    def double_click(self, x, y):
        self.move(x, y)
        self.run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])

    def _shot(self):
        return Shot(self.width, self.height, _run(["import", "-window", "root", "-depth", "8", "rgb:-"], self.env))

    def _xlib(self):
        """libX11 and libXtst, and a connection of the test's own to the display."""
        if not hasattr(self, "xdisplay"):
            x, t, p, i, u = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6"), ctypes.c_void_p, ctypes.c_int, \
                ctypes.c_ulong
            x.XOpenDisplay.restype, x.XGetImage.restype, x.XGetPixel.restype, x.XDefaultRootWindow.restype = p, p, u, u
            x.XStringToKeysym.restype, x.XKeysymToKeycode.restype = u, ctypes.c_ubyte
            x.XGetImage.argtypes = [p, u, i, i, ctypes.c_uint, ctypes.c_uint, u, i]
            x.XGetPixel.argtypes, x.XKeysymToKeycode.argtypes = [p, i, i], [p, u]
            t.XTestFakeKeyEvent.argtypes = [p, i, i, u]
            x.XDestroyImage.argtypes = x.XDefaultRootWindow.argtypes = x.XFlush.argtypes = [p]
            display = x.XOpenDisplay(self.env["DISPLAY"].encode())
            self.xlib, self.xtst = x, t
            self.xdisplay = display or (_ for _ in ()).throw(Failure("cannot open the display with Xlib"))
        return self.xlib, self.xdisplay

    def seen(self, rect, colour, tolerance):
        """The fraction of a rectangle of the screen in a colour, read from the X server itself: in a
        millisecond, where a screenshot takes a fifth of a second (for probes that race the game's clock)."""
        (x, d), (left, top, w, h) = self._xlib(), rect
        image = x.XGetImage(d, x.XDefaultRootWindow(d), left, top, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        rgb = [x.XGetPixel(image, i, j) for j in range(h) for i in range(w)]
        x.XDestroyImage(image)
        return sum(near((v >> 16, v >> 8 & 255, v & 255), colour, tolerance) for v in rgb) / max(1, len(rgb))

    def tap(self, key):
        """A key pressed and let go at once, by the X server's test extension (xdotool starts slowly)."""
        x, d = self._xlib()
        for down in (1, 0):
            self.xtst.XTestFakeKeyEvent(d, x.XKeysymToKeycode(d, x.XStringToKeysym(key.encode())), down, 0)
        x.XFlush(d)


class Sway(Desktop):
    """A headless sway with software rendering, one output and a bar at the top. As root, sway runs
    as nobody: it refuses root. Clients are Wayland clients."""

    def _start(self):
        with open(os.path.join(self.tmp, "sway.conf"), "w") as config:
            config.write("xwayland disable\noutput * resolution %dx%d position 0 0\ndefault_border none\n"
                         "font pango:DejaVu Sans 10\nbar {\n workspace_buttons no\n colors {\n  background #%02x%02x%02x\n"
                         " }\n}\n" % ((self.width, self.height) + PANEL))
        os.chmod(config.name, 0o644)
        env = dict(PATH=os.environ["PATH"], LANG="C.UTF-8", HOME=self.env["HOME"], WLR_BACKENDS="headless",
                   XDG_RUNTIME_DIR=self.env["XDG_RUNTIME_DIR"], WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman")
        run = self.spawn(["sway", "-c", config.name], "sway", env, "nobody" if ROOT else None).env
        found = lambda: sorted(n for n in os.listdir(run["XDG_RUNTIME_DIR"]) if re.match(r"wayland-\d+$|sway-ipc", n))  # noqa
        display, ipc = (os.path.join(run["XDG_RUNTIME_DIR"], n) for n in wait_until("sway's sockets", lambda: len(
            found()) == 2 and found()[::-1]))
        # libwayland takes an absolute path, so clients keep a runtime folder of their own.
        self.env.update(WAYLAND_DISPLAY=display, SWAYSOCK=ipc, QT_QPA_PLATFORM="wayland")
        free = lambda: json.loads(self.run(["swaymsg", "-t", "get_workspaces"], False) or "[]")  # noqa: E731
        bar = wait_until("the output with its bar", lambda: [w["rect"]["height"] for w in free()
                                                            if w["rect"]["height"] < self.height])[0]
        self.panel_rect = (0, 0, self.width, self.height - bar)
        self._pointer(display)

    def restart(self):
        """A compositor again, after the last was killed: the sockets it left go first."""
        runtime = self.children[0].env["XDG_RUNTIME_DIR"]
        for name in (n for n in os.listdir(runtime) if re.match(r"wayland-\d|sway-ipc", n)):
            os.remove(os.path.join(runtime, name))
        self._start()

    def _windows(self):
        found, nodes = [], [(json.loads(self.run(["swaymsg", "-t", "get_tree"])), False)]
        while nodes:
            node, floating = nodes.pop()
            nodes += [(n, floating) for n in node["nodes"]] + [(n, True) for n in node["floating_nodes"]]
            if node.get("pid"):
                r, state = node["rect"], {"FULLSCREEN": node["fullscreen_mode"], "FLOATING": floating}
                found.append(Window(node["id"], node.get("name") or "", node["pid"], r["x"], r["y"], r["width"],
                                    r["height"], frozenset(k for k, v in state.items() if v)))
        return found

    def activate(self, window, check=True):
        self.run(["swaymsg", "[con_id=%d] focus" % window.id], check)

    def _pointer(self, path):
        """A pointer device of the test's own, spoken to in the Wayland wire protocol: the headless
        backend has no input devices, and a seat without a pointer sends no pointer events."""
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect(path)
        self._send(1, 1, 2)  # wl_display.get_registry as 2
        self._send(1, 0, 3)  # wl_display.sync as 3: its done event comes after all globals
        data, interface = b"", b"zwlr_virtual_pointer_manager_v1\0"
        while struct.pack("=II", 3, 12 << 16) not in data:
            data += self.sock.recv(65536) or (_ for _ in ()).throw(Failure("sway closed the pointer's connection"))
        at = data.find(struct.pack("=I", len(interface)) + interface)  # in wl_registry.global, after its name
        if at < 0:
            raise Failure("sway offers no virtual pointer")
        # wl_registry.bind of the manager as 4, and its create_virtual_pointer on the default seat as 5
        self.sock.sendall(struct.pack("=IIII", 2, (24 + len(interface)) << 16, *struct.unpack_from("=II", data, at - 4))
                          + interface + struct.pack("=II", 1, 4))
        self._send(4, 0, 0, 5)

    def _send(self, target, opcode, *values):
        self.sock.sendall(struct.pack("=II%dI" % len(values), target, (8 + 4 * len(values)) << 16 | opcode, *values))

    def move(self, x, y):
        self._send(5, 1, int(time.monotonic() * 1000) & 0xFFFFFFFF, int(x), int(y), self.width, self.height)
        self._send(5, 4)  # frame

    def button(self, down):
        self._send(5, 2, int(time.monotonic() * 1000) & 0xFFFFFFFF, 0x110, down)  # BTN_LEFT
        self._send(5, 4)

    def key(self, *names):
        """wtype brings its own keyboard, and a first key before the client has taken it is lost: hence -s."""
        self.run(["wtype", "-s", "250"] + [a for name in names for a in ("-k", name, "-s", "60")])

    def _shot(self):
        raw = _run(["grim", "-t", "ppm", "-"], self.env)
        head = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", raw)
        return Shot(int(head.group(1)), int(head.group(2)), raw[head.end():])
