#!/usr/bin/env python3
"""Every option that `merendella --help` lists, with its key in the settings files, is described in
the README's table of settings, the example merendella.conf and the manual page (an entry of its own
among the options, not a mention elsewhere).
usage: options_documented.py PROGRAM SOURCE"""

import re, subprocess, sys  # noqa: E401

program, source = sys.argv[1:]
shown = subprocess.run([program, "--help"], capture_output=True, text=True, check=True, env={}).stdout
options = re.findall(r"^  --([\w-]+).*\n(?:\s+.*\n)*?\s+\[(\w+)=", shown, re.M)
read = lambda name: open("%s/%s" % (source, name), encoding="utf-8").read()  # noqa: E731
readme, conf, manual = read("README.md"), read("data/merendella.conf"), read("data/merendella.6").replace("\\-", "-")
table = "\n".join(line for line in readme.splitlines() if line.startswith("| `--"))
missing = ["%s: %s" % (where, what) for option, key in options for where, what, found in (
    ("README", "--" + option, "`--%s" % option in table), ("README", key + "=", "`%s=" % key in table),
    ("merendella.conf", key, re.search(r"^#?\s*%s\s*=" % key, conf, re.M)),
    ("merendella.6", "--" + option, re.search(r"^\.TP\n\.B[IR]? --%s\b" % option, manual, re.M)),  # its entry
    ("merendella.6", key, re.search(r"^\.BR? %s\b" % key, manual, re.M))) if not found]
if not options or missing:
    sys.exit("options without their documentation: %s\n(--help listed %s)" % (missing, options))
print("documented: %s" % ", ".join("--%s [%s]" % o for o in options))
