#!/usr/bin/env python3
"""How long Merendella takes to end: from the moment it decides to, with "sicuro di voler terminare?" open
(a SIGTERM then, which ends it the way "Yes" does), to the process's exit, on a private Xvfb with a private PulseAudio and speech-dispatcher (tests/desktop/harness.py).
Two rows: every service healthy, and the speech service stopped (SIGSTOP) just before the question, which
the game then says aloud, so that its speech thread waits for good.

With --memory N: resident memory before and after N requests (the instructions again, a card picked and
put back) to a sound server and speech service that are stopped.

Usage: bench/ending_figures.py build/bin/merendella [--runs 20 | --memory 4000]
"""

import argparse, os, signal, statistics, subprocess, sys, time  # noqa: E401

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "desktop"))
from harness import X11, wait_until  # noqa: E402


def one_run(d, exe, env, hang):
    game = d.spawn([exe], "game", env=env)
    wait_until("the title", lambda: any(w.w == d.width for w in d.windows(game.pid)))
    time.sleep(0.8)
    d.key("Return")  # "Avvio"
    time.sleep(1.0)
    speechd = next(c for c in d.children if c.args[0] == "speech-dispatcher")
    if hang:
        speechd.send_signal(signal.SIGSTOP)
    d.key("Return")  # "Esci" holds the focus
    box = wait_until("the question", lambda: next((w for w in d.windows() if w.title == "Merendella"), None))
    time.sleep(0.5)
    # The moment of the decision: SIGTERM takes the same way out as "Yes" (every screen unloaded, the
    # event loop left), with no input device's delay in the figure.
    start = time.monotonic()
    game.send_signal(signal.SIGTERM)
    try:
        game.wait(5)
    except subprocess.TimeoutExpired:
        pass
    took = time.monotonic() - start
    if game.poll() is None:
        d.shot("stuck")
        print(d.windows(), box, file=sys.stderr)
        raise RuntimeError("the game did not end: " + open(game.log_path).read()[-500:])
    if hang:
        speechd.send_signal(signal.SIGCONT)
    return took * 1000


def rss(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS")) / 1024


def memory(d, exe, env, presses):
    """Resident memory on the tarts screen before and after many requests to a stopped sound server and
    speech service: F1 (the instructions said again) and Return (a card picked and put back, each a sound)."""
    game = d.spawn([exe], "game", env=env)
    wait_until("the title", lambda: any(w.w == d.width for w in d.windows(game.pid)))
    time.sleep(0.8)
    d.key("Return")
    time.sleep(1.0)
    d.key("Tab", "Tab", "Return", "Left")
    time.sleep(3)
    for server in (c for c in d.children if c.args[0] in ("pulseaudio", "speech-dispatcher")):
        server.send_signal(signal.SIGSTOP)
    d.key("F1", "Return")
    time.sleep(1)
    before = rss(game.pid)
    for _ in range(presses // 100):
        d.run(["xdotool", "key", "--delay", "2"] + ["F1", "Return"] * 50)
    time.sleep(1)
    after = rss(game.pid)
    game.kill()
    for server in (c for c in d.children if c.args[0] in ("pulseaudio", "speech-dispatcher")):
        server.send_signal(signal.SIGCONT)
    print("hung services: %.1f MiB resident before, %.1f MiB after %d requests" % (before, after, presses))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--memory", type=int, default=0, help="instead: memory over this many requests")
    args = parser.parse_args()
    with X11(1024, 768, "/tmp/merendella-ending-shots") as d:
        env = d.speech_server(d.sound_server())
        if args.memory:
            return memory(d, os.path.abspath(args.exe), env, args.memory)
        figures = {"healthy": [], "speech stopped": []}
        for _ in range(args.runs):
            for row in figures:  # interleaved, so that a busy spell hits both
                figures[row].append(one_run(d, os.path.abspath(args.exe), env, row != "healthy"))
                print(row, "%.1f ms" % figures[row][-1], file=sys.stderr)
        for row, ms in figures.items():
            print("%-15s median %6.1f ms  min %6.1f  max %6.1f  (%d runs)" % (
                row, statistics.median(ms), min(ms), max(ms), len(ms)))


if __name__ == "__main__":
    main()
