#!/usr/bin/env python3
"""Kills the command line at the N-th call of one kind of file-system call
(strace -e inject=CALL:signal=KILL:when=N), then recovers the output folder
(recover DIR, or the next conversion into it) and requires exactly the old
files or exactly the new ones, and nothing else, in it.

Every call of those kinds is tried, both with unnamed temporaries and with
named ones. Usage: kill_anywhere.py CARTELOOM_CLI"""
import os
import shutil
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
KINDS = {"open": ["openat"], "write": ["write"], "fsync": ["fsync", "fdatasync"],
         "rename": ["rename", "renameat2", "linkat"], "unlink": ["unlink", "unlinkat"]}
# No /proc/self/fd as far as the program can tell: named temporaries, as on Windows and FAT cards.
NAMED = ["-e", "inject=access:error=ENOENT"]

WAYPOINT = b"$PZTJWPL,3959.1234,N,11630.5000,E,0000000,M,WELL01,,a*45\r\n"
HEADER = (b'Version 300\r\nCharset "Neutral"\r\nDelimiter ","\r\nCoordSys Earth Projection 1, 104\r\n'
          b"Columns 1\r\n  Name Char(20)\r\nData\r\n\r\n")


def mif_layer(points, lines):
    mif, mid = [HEADER], []
    for i in range(points):
        mif.append(b"Point 116.%d 39.5\r\n" % i)
        mid.append(b'"P%d"\r\n' % i)
    for i in range(lines):
        mif.append(b"Pline 3\r\n116.1 39.1\r\n116.2 39.%d\r\n116.3 39.3\r\n" % i)
        mid.append(b'"L%d"\r\n' % i)
    return b"".join(mif), b"".join(mid)


def snapshot(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


def scenarios(work):
    """(name, arguments, old files in the output folder)"""
    src = os.path.join(work, "src")
    os.makedirs(src)
    with open(os.path.join(src, "wells.upt"), "wb") as f:
        f.write(WAYPOINT * 300)
    for stem, points, lines in (("split", 1100, 0), ("mixed", 600, 4)):
        mif, mid = mif_layer(points, lines)
        open(os.path.join(src, stem + ".mif"), "wb").write(mif)
        open(os.path.join(src, stem + ".mid"), "wb").write(mid)
    foreign = {"keep.txt": b"not ours", "split.upt.tmp~1~0": b"another program's"}
    yield "to-mif over an older pair", ["to-mif", os.path.join(src, "wells.upt")], \
        dict(foreign, **{"wells.mif": b"old mif", "wells.mid": b"old mid"})
    yield "split layer of 3 parts over 2 older", ["to-receiver", os.path.join(src, "split.mif")], \
        dict(foreign, **{"split.upt": b"old 1", "split2.upt": b"old 2"})
    yield "mixed layer over an older route file", ["to-receiver", os.path.join(src, "mixed.mif")], \
        dict(foreign, **{"mixed.rte": b"old routes"})


def prepared(folder, old):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, data in old.items():
        open(os.path.join(folder, name), "wb").write(data)


# LeakSanitizer cannot work under ptrace; the other tests check for leaks.
os.environ["ASAN_OPTIONS"] = "detect_leaks=0:" + os.environ.get("ASAN_OPTIONS", "")


def run(command):
    return subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def main():
    if run(["strace", "-qq", "-o", os.devnull, "true"]).returncode != 0:
        print("strace cannot trace here: skipped")
        return 77
    failures, tried = [], {}
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "out")
        for name, arguments, old in scenarios(work):
            command = [CLI] + arguments[:1] + ["--on-exist=overwrite", "-q", "-o", out] + arguments[1:]
            for path, extra in (("unnamed", []), ("named", NAMED)):
                prepared(out, old)
                log = os.path.join(work, "calls")
                every = ",".join(sum(KINDS.values(), []))
                # access traced too: strace injects only into calls it traces.
                ran = run(["strace", "-f", "-qq", "-o", log, "-e", "trace=access," + every] + extra + command)
                new = snapshot(out)
                named = ".tmp~" in open(log, errors="replace").read()
                if ran.returncode != 0 or new == old or named != (path == "named"):
                    failures.append(f"{name}, {path}: did not convert so: {ran.stderr.decode(errors='replace')}")
                    continue
                calls = {}
                for line in open(log, errors="replace"):
                    call = line.split(None, 1)[1] if line[0].isdigit() else line
                    calls[call.split("(", 1)[0]] = calls.get(call.split("(", 1)[0], 0) + 1
                for kind, names in KINDS.items():
                    for call in names:
                        for n in range(1, calls.get(call, 0) + 1):
                            prepared(out, old)
                            run(["strace", "-f", "-qq", "-o", os.devnull,
                                 "-e", f"inject={call}:signal=KILL:when={n}"] + extra + command)
                            # Every other point is recovered by the next conversion into the folder.
                            by_next_run = n % 2 == 0
                            recovered = run(command if by_next_run else [CLI, "recover", out])
                            after = snapshot(out)
                            expected = [new] if by_next_run else [old, new]
                            if recovered.returncode != 0 or after not in expected:
                                failures.append(f"{name}, {path}: killed at {call} #{n}, "
                                                f"{'next run' if by_next_run else 'recover'}: {sorted(after)} "
                                                f"{recovered.stderr.decode(errors='replace')}")
                            key = f"{path} {kind}"
                            tried[key] = tried.get(key, 0) + 1
    for key, count in sorted(tried.items()):
        print(f"{key}: {count} kill points")
    print(f"{sum(tried.values())} kill points in all, {len(failures)} failed")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
