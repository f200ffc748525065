#!/usr/bin/env python3
"""Times carteloom-cli on large inputs beside copying the same bytes and beside peer tools.

bench.py CLI WORKFOLDER [RUNS]: makes the inputs (fixed seed) at full and half size, runs every case
RUNS times (default 5), and prints one table of medians; then times the most repetitive input each
reader can meet at two sizes, which must take time linear in their size.

bench.py CLI WORKFOLDER [RUNS] --against OTHER_CLI [--cases WORD]: the full-size cases (those whose
name holds WORD) with both builds taking turns, and how much CPU time CLI saves against OTHER_CLI:
how a speed-up is measured against the build without it.

The outputs go to memory (/dev/shm) where there is one, as the bytes of `cat INPUT > /dev/null` do, so that
the table times the conversion rather than the disk's file-system bookkeeping; CARTELOOM_BENCH_OUT names
another folder for them.

Every run writes into a folder of its own that is new and empty, and the folders of a case are removed
only once the case is measured: replacing or deleting thousands of files just before creating as many
again makes some file systems search their inode tables for every new file, which would time the file
system's bookkeeping rather than the conversion.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from make_inputs import MIF_HEADER

HERE = Path(__file__).resolve().parent

# name, source files (the first is converted), direction, points in the full-size input
CASES = [
    ("waypoints .upt -> MIF", ["waypoints.upt"], "to-mif", 1_000_000),
    ("track log .log -> MIF", ["track.log"], "to-mif", 1_000_000),
    ("routes .rte -> MIF", ["routes.rte"], "to-mif", 100_000),
    ("MIF points -> .upt", ["points.mif", "points.mid"], "to-receiver", 1_000_000),
    ("MIF polylines -> .rte", ["lines.mif", "lines.mid"], "to-receiver", 1_000_000),
]
# The peer of a case converts the same points: GDAL from CSV to MapInfo, gpsbabel from NMEA to GPX.
PEERS = {
    "waypoints .upt -> MIF": ("ogr2ogr", "waypoints.csv"),
    "track log .log -> MIF": ("gpsbabel", "track.nmea"),
    "MIF points -> .upt": ("ogr2ogr", "points.csv"),
    "MIF polylines -> .rte": ("gpsbabel", "lines.nmea"),
}
# The last file make_inputs.py writes: present once a folder is complete.
LAST_INPUT = "track.nmea"


def run_once(argv, cwd, check=True):
    """Wall time in seconds, peak RSS in MiB and CPU seconds (user + system) of one run of argv. With check,
    a failed run ends the benchmark; the repetitive inputs are refused or converted, either is fine."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if check and proc.returncode != 0:
        raise SystemExit(f"failed ({proc.returncode}): {' '.join(map(str, argv))}\n{err}")
    return elapsed, usage.ru_maxrss / 1024, usage.ru_utime + usage.ru_stime


class Outputs:
    """Hands out a new empty output folder per run; clear() removes them all."""

    def __init__(self, root):
        self.root = root
        self.count = 0

    def fresh(self):
        self.count += 1
        folder = self.root / f"run{self.count}"
        folder.mkdir(parents=True)
        return folder

    def clear(self):
        shutil.rmtree(self.root, ignore_errors=True)


def peak_of(argv, cwd):
    """Peak RSS in MiB of one run of argv, as GNU time reports it: the wait4 figure of a child of Python
    holds the Python process's own pages from before the exec."""
    with tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv, cwd=cwd, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(report.read().split()[-1]) / 1024


def summary(results):
    """Median wall time, largest peak RSS and median CPU time of the runs of one command."""
    return (statistics.median(r[0] for r in results), max(r[1] for r in results),
            statistics.median(r[2] for r in results))


def medians_of(commands, runs, outputs):
    """The summary of each (make_argv, cwd) of commands. The commands take turns, run after run, so that a
    slow spell of the machine falls on all of them alike rather than on whichever ran then."""
    results = [[] for _ in commands]
    for _ in range(runs):
        for i, (make_argv, cwd) in enumerate(commands):
            results[i].append(run_once(make_argv(outputs.fresh()), cwd))
    return [summary(r) for r in results]


def median_of(make_argv, cwd, runs, outputs):
    return medians_of([(make_argv, cwd)], runs, outputs)[0]


def cli_argv(cli, direction, source):
    return lambda out: [cli, direction, "-o", str(out), "--on-exist=fail", source]


def peer_argv(peer, source):
    if peer == "ogr2ogr":
        return lambda out: ["ogr2ogr", "-f", "MapInfo File", str(out / "peer.mif"), source,
                            "-oo", "X_POSSIBLE_NAMES=lon", "-oo", "Y_POSSIBLE_NAMES=lat", "-a_srs", "EPSG:4326"]
    return lambda out: ["gpsbabel", "-t", "-i", "nmea", "-f", source, "-o", "gpx", "-F", str(out / "peer.gpx")]


def compare(cli, other, full, runs, outputs, word):
    """Both builds on the full-size cases, taking turns; the CPU time cli saves against other."""
    print(f"{'case':24} {'median s':>9} {'cpu s':>7} {'other s':>8} {'other cpu':>9} {'cpu saved':>9}")
    for name, files, direction, _ in CASES:
        if word not in name:
            continue
        (seconds, _, cpu), (other_seconds, _, other_cpu) = medians_of(
            [(cli_argv(cli, direction, files[0]), full), (cli_argv(other, direction, files[0]), full)], runs, outputs)
        outputs.clear()
        print(f"{name:24} {seconds:9.3f} {cpu:7.3f} {other_seconds:8.3f} {other_cpu:9.3f} "
              f"{100 * (other_cpu - cpu) / other_cpu:8.1f}%", flush=True)


# The most repetitive input each reader can meet: source name, its start, the piece repeated after it,
# the piece its MID repeats. A quote that never closes, a route that never ends, counts that promise
# more than follows.
REPETITIVE = [("in.upt", "$PZTJWPL,", "\"", ""), ("in.log", "", "$PZTJWPL,3954.450,N,11623.483,E\n", ""),
              ("in.rte", "", "$PZTJRTE,1,2,c,1,SAME,A,a,B,a\r\n", ""),
              ("in.mif", MIF_HEADER, "Pline 99999999\r\n", '""'),
              ("in.mif", MIF_HEADER, "Collection 999999999\r\nPoint 1 1\r\n", 'a,"b\r\n')]


def linear_time(cli, work, runs, outputs):
    """Four times the bytes may take four times as long, and no more than twice that."""
    print(f"\n{'repetitive input':40} {'4 MiB s':>8} {'16 MiB s':>9} {'ratio':>6}")
    for name, head, piece, mid_piece in REPETITIVE:
        times = []
        for size in (4 << 20, 16 << 20):
            folder = work / "repetitive" / str(size)
            shutil.rmtree(folder, ignore_errors=True)
            folder.mkdir(parents=True)
            (folder / name).write_bytes((head + piece * (size // len(piece))).encode())
            (folder / "in.mid").write_bytes((mid_piece * (size // max(1, len(mid_piece)))).encode())
            direction = "to-receiver" if name == "in.mif" else "to-mif"
            argv = lambda out, f=folder, d=direction: [cli, d, "-o", str(out), "--on-exist=fail", str(f / name)]
            times.append(min(run_once(argv(outputs.fresh()), folder, check=False)[0] for _ in range(runs)))
            outputs.clear()
        ratio = times[1] / times[0]
        print(f"{name + ' of ' + repr(piece)[:28]:40} {times[0]:8.3f} {times[1]:9.3f} {ratio:6.1f}"
              f"{'' if ratio < 8 else '  NOT LINEAR'}", flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("work")
    parser.add_argument("runs", nargs="?", type=int, default=5)
    parser.add_argument("--against", help="another build's carteloom-cli, timed in turns with CLI")
    parser.add_argument("--cases", default="", help="only the cases whose name holds this")
    args = parser.parse_args()
    cli = str(Path(args.cli).resolve())
    work = Path(args.work).resolve()
    runs = args.runs
    full, half = work / "full", work / "half"
    for folder, scale in ((full, "1.0"), (half, "0.5")):
        if not (folder / LAST_INPUT).exists():
            print(f"making inputs in {folder} ...", flush=True)
            subprocess.run([sys.executable, str(HERE / "make_inputs.py"), str(folder), scale], check=True)
    out_root = os.environ.get("CARTELOOM_BENCH_OUT")
    if not out_root:
        out_root = "/dev/shm/carteloom-bench" if os.access("/dev/shm", os.W_OK) else str(work / "out")
    outputs = Outputs(Path(out_root))
    outputs.clear()
    print(f"outputs in {out_root}")
    if args.against:
        compare(cli, str(Path(args.against).resolve()), full, runs, outputs, args.cases)
        return

    header = (f"{'case':24} {'MB':>7} {'median s':>9} {'cpu s':>7} {'MB/s':>8} {'points/s':>11} {'peak MiB':>9} "
              f"{'x copy':>7} {'x cp':>6} {'full/half':>9} {'peer':>9} {'peer s':>8} {'x peer':>7}")
    print(header)
    print("-" * len(header))
    memory = []
    for name, files, direction, points in CASES:
        size_mb = sum((full / f).stat().st_size for f in files) / 1e6
        copy = ["sh", "-c", "cat " + " ".join(files) + " > /dev/null"]
        # The same bytes copied into a new file where the outputs go: the floor for any converter that
        # writes about as much as it reads.
        copy_to_file = lambda out: ["sh", "-c", "cat " + " ".join(files) + f" > '{out}/copy'"]
        (seconds, rss, cpu), (half_seconds, half_rss, _), (copy_seconds, _, _), (file_copy_seconds, _, _) = \
            medians_of([(cli_argv(cli, direction, files[0]), full), (cli_argv(cli, direction, files[0]), half),
                        ((lambda _out: copy), full), (copy_to_file, full)], runs, outputs)
        peer_name, peer_text, ratio_text = "", "", ""
        if name in PEERS and shutil.which(PEERS[name][0]):
            peer_name = PEERS[name][0]
            peer_seconds, _, _ = median_of(peer_argv(*PEERS[name]), full, runs, outputs)
            peer_text, ratio_text = f"{peer_seconds:.3f}", f"{seconds / peer_seconds:.3f}"
        if os.access("/usr/bin/time", os.X_OK):
            rss = peak_of(cli_argv(cli, direction, files[0])(outputs.fresh()), full)
            half_rss = peak_of(cli_argv(cli, direction, files[0])(outputs.fresh()), half)
        outputs.clear()
        print(f"{name:24} {size_mb:7.1f} {seconds:9.3f} {cpu:7.3f} {size_mb / seconds:8.1f} {points / seconds:11.0f} "
              f"{rss:9.1f} {seconds / copy_seconds:7.1f} {seconds / file_copy_seconds:6.1f} {seconds / half_seconds:9.2f} {peer_name:>9} "
              f"{peer_text:>8} {ratio_text:>7}", flush=True)
        if name.startswith(("track", "MIF")):
            memory.append(f"{name} peak memory: full {rss:.1f} MiB, half {half_rss:.1f} MiB")
    print("\n".join(memory))
    print("cpu s: median user + system time; on a busy machine the wall time also holds the waits for a core.")
    print("x copy: our time / `cat` of the same input to /dev/null; x cp: our time / `cat` of it into a file "
          "beside the outputs; x peer: our time / the peer's time (under 1: faster)")
    linear_time(cli, work, 3, outputs)


if __name__ == "__main__":
    main()
