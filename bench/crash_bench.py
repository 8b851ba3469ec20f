#!/usr/bin/env python3
"""Real crashes during saves: kills `vrk3tool add` with SIGKILL at random
moments while it saves into a large dictionary, and checks after every kill
that the dictionary is exactly the old content or exactly the new one (the
old with the entry appended), and that it opens cleanly. Hidden copies left
by killed saves must be gone after the next save that completes.

    bench/crash_bench.py [--entries 1000000] [--saves 100] [--build build/release] [--dir DIR]

The dictionary is written on a real disk (DIR, default a new folder in the
temporary folder, removed afterwards); the kill moments are spread over the
time one save takes, measured first. Prints how many kills left the old and
how many the new content, and every failure; exits 1 on any failure.
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "store"))
from make_key_table import table  # noqa: E402  the format's record key table

KEYS = table()
HEADER, RECORDS, TRAILER = 26, 36, 20


def scramble(text, offset):
    out = bytearray(len(text))
    for i, b in enumerate(text):
        k = KEYS[(offset + i) % 4096]
        out[i] = b if b == 0 or b == k else b ^ k
    return bytes(out)


def appended(old, record):
    """The exact bytes of `old` with `record` appended as its last entry."""
    count = int.from_bytes(old[HEADER:HEADER + 4], "little")
    picture = int.from_bytes(old[-TRAILER:-TRAILER + 4], "little")
    end = len(old) - TRAILER - picture
    return (old[:HEADER] + (count + 1).to_bytes(4, "little") + old[HEADER + 4:end] +
            scramble(record + b"\0", end) + old[end:])


def make_dictionary(path, entries, build):
    records = path + ".rec"
    with open(records, "wb") as out:
        for i in range(entries):
            out.write(b"BESEDA%07d\x01opis %d\x01drugi opis\0" % (i, i))
    subprocess.run([os.path.join(build, "bench", "make_dictionary"), records, path], check=True,
                   stdout=subprocess.DEVNULL)
    os.remove(records)


def leftovers(folder, name):
    return [f for f in os.listdir(folder) if f.startswith("." + name + ".")]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--entries", type=int, default=1000000)
    ap.add_argument("--saves", type=int, default=100)
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    ap.add_argument("--dir")
    ap.add_argument("--seed", type=int, default=17)
    args = ap.parse_args()
    random.seed(args.seed)
    tool = os.path.join(args.build, "tools", "vrk3tool")
    folder = args.dir or tempfile.mkdtemp(prefix="vrk3-crash.", dir=os.environ.get("TMPDIR"))
    os.makedirs(folder, exist_ok=True)
    env = dict(os.environ, VRK3_SETTINGS_DIR=os.path.join(folder, "settings"))
    path = os.path.join(folder, "crash.vrk3")
    failures = []
    try:
        make_dictionary(path, args.entries, args.build)
        # One save without a kill, to know how long a save takes.
        started = time.monotonic()
        subprocess.run([tool, "add", "--force", path, "PRVA", "opis"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        duration = time.monotonic() - started
        outcome = {"old": 0, "new": 0}
        left_seen = 0
        for i in range(args.saves):
            with open(path, "rb") as f:
                old = f.read()
            word = b"UBITA%03d" % i
            record = word + b"\x01opis"
            save = subprocess.Popen([tool, "add", "--force", path, word.decode(), "opis"], env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(random.uniform(0, 1.2 * duration))
            save.send_signal(signal.SIGKILL)
            save.wait()
            with open(path, "rb") as f:
                now = f.read()
            if now == old:
                outcome["old"] += 1
            elif now == appended(old, record):
                outcome["new"] += 1
            else:
                failures.append(f"save {i}: the dictionary is neither the old nor the new content")
                break
            info = subprocess.run([tool, "info", path], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, text=True)
            if info.returncode != 0:
                failures.append(f"save {i}: does not open: {info.stderr.strip()}")
            left_seen += len(leftovers(folder, "crash.vrk3"))
        # The next save that completes removes what killed saves left.
        subprocess.run([tool, "add", "--force", path, "ZADNJA", "opis"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        remaining = leftovers(folder, "crash.vrk3")
        if remaining:
            failures.append(f"hidden copies left after a completed save: {remaining}")
        print(f"{args.saves} saves into {args.entries} entries killed at random moments "
              f"(one save: {duration:.2f} s): {outcome['old']} left the old content, "
              f"{outcome['new']} the new; hidden copies seen after kills: {left_seen}, "
              f"left after the next save: {len(remaining)}; failures: {len(failures)}")
    finally:
        if not args.dir:
            shutil.rmtree(folder, ignore_errors=True)
    for f in failures:
        print("FAILURE:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
