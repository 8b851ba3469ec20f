#!/usr/bin/env python3
"""Real crashes and hostile neighbours: kills or disturbs `vrk3tool` while it
works on a large dictionary on a real disk, and checks that no word is lost
and no program crashes.

    bench/crash_bench.py [--mode save|import-new|shrink|unwritable] [--entries 1000000]
                         [--saves 100] [--build build/release] [--dir DIR]

- save (default): kills `vrk3tool add` with SIGKILL at random moments; after
  every kill the dictionary is exactly the old content or exactly the new
  one (the old with the entry appended) and opens cleanly. Hidden copies
  left by killed saves are gone after the next save that completes.
- import-new: kills `vrk3tool import csv` into a new dictionary at random
  moments; afterwards the new dictionary is absent or complete.
- shrink: another process cuts the dictionary to 4 KB and writes it back
  every 30 ms, ignoring the locks, while `dump`, `search` and `add` run;
  none of them may die by a signal.
- unwritable: as a user who owns the dictionary but may not write its
  folder (run as root, the tool runs as "nobody"), `add`, `remap` and
  `import csv` are refused and the dictionary stays byte for byte.

The kill moments are spread over the time one run takes, measured first.
Prints its figures and every failure; exits 1 on any failure.
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


def run_saves(tool, env, folder, path, args, failures):
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


def entry_count(tool, env, path):
    info = subprocess.run([tool, "info", path], env=env, capture_output=True, text=True)
    for line in info.stdout.splitlines():
        if line.lower().startswith("entries"):
            return int(line.split(":")[1])
    return None


def run_imports(tool, env, folder, args, failures):
    csv = os.path.join(folder, "big.csv")
    with open(csv, "w") as out:
        for i in range(args.entries):
            out.write(f"UVOZ{i:07d};opis {i}\n")
    target = os.path.join(folder, "new.vrk3")
    started = time.monotonic()
    subprocess.run([tool, "import", "csv", csv, target], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    duration = time.monotonic() - started
    complete = entry_count(tool, env, target)
    outcome = {"absent": 0, "complete": 0}
    for i in range(args.saves):
        os.remove(target)
        run = subprocess.Popen([tool, "import", "csv", csv, target], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0, 1.2 * duration))
        run.send_signal(signal.SIGKILL)
        run.wait()
        if not os.path.exists(target):
            outcome["absent"] += 1
            subprocess.run([tool, "import", "csv", csv, target], env=env, check=True,
                           stdout=subprocess.DEVNULL)
        elif entry_count(tool, env, target) == complete:
            outcome["complete"] += 1
        else:
            failures.append(f"import {i}: the new dictionary is there but not complete")
            break
    print(f"{args.saves} imports of {args.entries} lines into a new dictionary killed at random "
          f"moments (one import: {duration:.2f} s): {outcome['absent']} left no dictionary, "
          f"{outcome['complete']} a complete one; failures: {len(failures)}")


def run_shrinking(tool, env, path, args, failures):
    with open(path, "rb") as f:
        whole = f.read()
    cutter = os.fork()
    if cutter == 0:
        while True:
            with open(path, "r+b") as f:
                f.truncate(4096)
                time.sleep(0.005)
                f.seek(0)
                f.write(whole)
            time.sleep(0.03)
    runs = {"ok": 0, "refused": 0}
    try:
        commands = [["dump", path], ["search", "b*", "", path], ["add", "--force", path, "X", "x"]]
        for i in range(args.saves):
            cmd = commands[i % len(commands)]
            done = subprocess.run([tool] + cmd, env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
            if done.returncode < 0:
                failures.append(f"{cmd[0]} died by signal {-done.returncode}")
            runs["ok" if done.returncode == 0 else "refused"] += 1
    finally:
        os.kill(cutter, signal.SIGKILL)
        os.waitpid(cutter, 0)
    print(f"{args.saves} runs of dump, search and add while another process cuts the "
          f"dictionary short every 30 ms: {runs['ok']} succeeded, {runs['refused']} refused; "
          f"crashes: {len(failures)}")


def run_unwritable(tool, env, folder, path, args, failures):
    # The user owns the dictionary but may not write its folder.
    prefix = []
    if os.geteuid() == 0:
        prefix = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        os.chown(path, 65534, 65534)
        os.chmod(folder, 0o755)
        os.chmod(env["VRK3_SETTINGS_DIR"], 0o777)
    else:
        os.chmod(folder, 0o555)
    csv = os.path.join(env["VRK3_SETTINGS_DIR"], "in.csv")
    with open(csv, "w") as out:
        out.write("NOVA;opis\n")
    os.chmod(csv, 0o644)
    with open(path, "rb") as f:
        before = f.read()
    for cmd in (["add", "--force", path, "NOVA", "opis"], ["remap", path, "a", "b"],
                ["import", "csv", "--force", csv, path]):
        done = subprocess.run(prefix + [tool] + cmd, env=env, capture_output=True, text=True)
        with open(path, "rb") as f:
            now = f.read()
        if done.returncode == 0 or now != before:
            failures.append(f"{cmd[0]} changed a dictionary whose folder is not writable")
        elif "folder" not in done.stderr:
            failures.append(f"{cmd[0]}: the reason does not name the folder: {done.stderr.strip()}")
    if os.geteuid() != 0:
        os.chmod(folder, 0o755)
    print(f"changes of a dictionary in a folder its user may not write: failures: {len(failures)}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--mode", choices=["save", "import-new", "shrink", "unwritable"],
                    default="save")
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
    settings = tempfile.mkdtemp(prefix="vrk3-crash-settings.")
    env = dict(os.environ, VRK3_SETTINGS_DIR=settings, XDG_CACHE_HOME=settings)
    path = os.path.join(folder, "crash.vrk3")
    failures = []
    try:
        if args.mode == "import-new":
            run_imports(tool, env, folder, args, failures)
        else:
            make_dictionary(path, args.entries, args.build)
            if args.mode == "save":
                run_saves(tool, env, folder, path, args, failures)
            elif args.mode == "shrink":
                run_shrinking(tool, env, path, args, failures)
            else:
                run_unwritable(tool, env, folder, path, args, failures)
    finally:
        shutil.rmtree(settings, ignore_errors=True)
        if not args.dir:
            shutil.rmtree(folder, ignore_errors=True)
    for f in failures:
        print("FAILURE:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
