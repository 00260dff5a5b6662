#!/usr/bin/env python3
"""Wall-clock start-up of Merendella beside a bare Qt window, split into CPU time and waiting.

Each run starts one program on a private Xvfb and stops it (SIGSTOP) the moment the X server maps
its first window; then it reads how long all the process's threads ran on a core until then (the
scheduler's own count, /proc/PID/task/*/schedstat). The rest of the wall-clock time the program
waited: for the X server, the disk, a lock, another core. The game and the bare window alternate,
which one goes first swapped each pair, so that a busy spell hits both; the ratio of a pair's wall
times is the figure that matters on a machine of few cores.

The programs run as on a desktop: a session bus of their own (where the accessibility bridge looks
for a screen reader), and the fonts of the tests (tests/fonts.conf) unless --system-fonts.

The verdict is the median of the paired ratios with its 95 % interval (resampled from the pairs):
a run of 31 pairs on a virtual machine moves its median by a few hundredths from one run to the next,
so a budget is met only when the whole interval is within it. --also puts other builds of the game
into the same rotation (say, one built with other flags), each paired with the bare window of its round.

Usage: bench/first_map.py --build build-bench [--runs 31] [--size 1920x1080] [--json out.json]
                          [--also lto=/tmp/build-lto/bin/merendella ...]
Needs Xvfb and dbus-daemon. Run it on a quiet machine: nothing else should be using the cores.
"""

import argparse, json, os, random, signal, statistics, subprocess, sys, time  # noqa: E401

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from process_figures import XWatcher, cpu_ms, desktop_session, start_xvfb  # noqa: E402


def first_map(program, env, display):
    """Wall-clock and CPU milliseconds from the program's start to its first mapped window."""
    watcher = XWatcher(display)
    try:
        start = time.monotonic()
        process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wall = (watcher.wait_map() - start) * 1000
            process.send_signal(signal.SIGSTOP)
            cpu = cpu_ms(process.pid)
        finally:
            process.kill()
            process.wait()
    finally:
        watcher.close()
    return {"wall": wall, "cpu": cpu, "waiting": wall - cpu}


def ratio_summary(ratios):
    """Median of the paired ratios, its quartiles, and a 95 % interval of the median drawn from
    2000 resamples of the pairs (seeded: the same pairs give the same interval)."""
    draw = random.Random(1)
    medians = sorted(statistics.median(draw.choices(ratios, k=len(ratios))) for _ in range(2000))
    q1, _, q3 = statistics.quantiles(ratios, n=4)
    return {"median": statistics.median(ratios), "q1": q1, "q3": q3,
            "low": medians[int(0.025 * len(medians))], "high": medians[int(0.975 * len(medians)) - 1]}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--runs", type=int, default=31)
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--json")
    parser.add_argument("--system-fonts", action="store_true", help="the machine's fonts, not the tests'")
    parser.add_argument("--also", action="append", default=[], metavar="NAME=PROGRAM",
                        help="another build of the game in the same rotation")
    args = parser.parse_args()
    programs = {name: os.path.abspath(os.path.join(args.build, "bin", exe))
                for name, exe in (("game", "merendella"), ("bare", "bare_window"))}
    programs.update((name, os.path.abspath(path)) for name, path in (a.split("=", 1) for a in args.also))
    xvfb, display = start_xvfb(args.size)
    env, bus = desktop_session(display, args.system_fonts)
    runs = {name: [] for name in programs}
    try:
        for name in programs:  # one unmeasured run each fills the page cache
            first_map(programs[name], env, display)
        for i in range(args.runs):
            for name in (list(programs) if i % 2 else reversed(programs)):
                runs[name].append(first_map(programs[name], env, display))
            print(f"run {i + 1:2}: " + " | ".join(f"{name} {runs[name][-1]['wall']:5.1f} ms "
                                                   f"({runs[name][-1]['cpu']:5.1f} CPU)" for name in programs), flush=True)
    finally:
        for server in (bus, xvfb):
            server.terminate()
            server.wait()
    print(f"\n{args.runs} paired runs at {args.size}, {os.cpu_count()} cores; medians in ms")
    print(f"{'':<10}{'wall':>8}{'CPU':>8}{'waiting':>9}")
    for name in runs:
        print(f"{name:<10}" + "".join(f"{statistics.median(r[k] for r in runs[name]):>{w}.1f}"
                                      for k, w in (("wall", 8), ("cpu", 8), ("waiting", 9))))
    ratios = {}
    for name in runs:
        if name == "bare":
            continue
        wall = ratio_summary([g["wall"] / b["wall"] for g, b in zip(runs[name], runs["bare"])])
        cpu = statistics.median(g["cpu"] / b["cpu"] for g, b in zip(runs[name], runs["bare"]))
        ratios[name] = {"wall": wall, "cpu": cpu}
        print(f"paired ratio, {name} to bare: wall {wall['median']:.3f}x (quartiles {wall['q1']:.3f}-{wall['q3']:.3f}; "
              f"95 % interval of the median {wall['low']:.3f}-{wall['high']:.3f}), CPU {cpu:.3f}x")
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"size": args.size, "runs": runs, "ratios": ratios}, out, indent=1)


if __name__ == "__main__":
    main()
