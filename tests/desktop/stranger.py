"""Another user's program on the game's one-copy key. usage: stranger.py hold|tell KEY...
hold binds each key first and stays; tell says "started" on each and prints what came back. A key
starting with @ is a name in Linux's abstract namespace, else a path."""

import socket, sys, time  # noqa: E401

held = []
for key in sys.argv[2:]:
    s = socket.socket(socket.AF_UNIX)
    s.settimeout(3)
    try:
        address = "\0" + key[1:] if key.startswith("@") else key
        if sys.argv[1] == "hold":
            s.bind(address), s.listen(), held.append(s), print(key, "held", flush=True)
        else:
            s.connect(address), s.sendall(b"started\n"), print(key, s.recv(64), flush=True)
    except OSError as e:
        print(key, e, flush=True)
time.sleep(600 if held else 0)
