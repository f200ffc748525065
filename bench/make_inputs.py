#!/usr/bin/env python3
"""Makes the benchmark inputs, the same bytes on every run (fixed seed).

make_inputs.py FOLDER SCALE  -- SCALE 1.0 gives the full sizes, 0.5 the half sizes.
"""
import random
import sys
from pathlib import Path

FULL_WAYPOINTS = 1_000_000
FULL_TRACK = 1_000_000
FULL_ROUTE_POINTS, ROUTE_COUNT = 100_000, 1_000
FULL_MIF_POINTS = 1_000_000
FULL_POLYLINES, VERTICES = 10_000, 100

MIF_HEADER = (
    "Version 300\r\nCharset \"Neutral\"\r\nDelimiter \",\"\r\n"
    "CoordSys Earth Projection 1, 104 Bounds (76.74848, 18.23792) (131.1559, 50.24493)\r\n"
    "Columns 1\r\nComment Char(20)\r\nData\r\n"
)


def checksum(body: str) -> str:
    value = 0
    for byte in body.encode("ascii"):
        value ^= byte
    return f"{value:02X}"


def sentence(body: str) -> str:
    return f"${body}*{checksum(body)}\r\n"


def position(rng):
    """A latitude and longitude inside China's bounds, in decimal degrees."""
    return rng.uniform(18.5, 50.0), rng.uniform(77.0, 131.0)


def dm(value: float, width: int) -> str:
    degrees = int(value)
    return f"{degrees:0{width}d}{(value - degrees) * 60:07.4f}"


def write(path: Path, text_parts):
    with open(path, "w", encoding="ascii", newline="") as out:
        for part in text_parts:
            out.write(part)


def waypoints(rng, n):
    for i in range(n):
        lat, lon = position(rng)
        yield sentence(f"PZTJWPL,{dm(lat, 2)},N,{dm(lon, 3)},E,0000000,M,WP{i:07d},,a")


def track(rng, n):
    lat, lon = position(rng)
    for i in range(n):
        lat += rng.uniform(-0.0005, 0.0005)
        lon += rng.uniform(-0.0005, 0.0005)
        yield sentence(f"PZTJTRK,{dm(lat, 2)},N,{dm(lon, 3)},E,0000045,M,061226,{i % 86400:06d},0012,1")
    yield "$PZTJCMD,END*3D\r\n"


def routes(rng, points, count):
    per_route = points // count
    for i in range(points):
        lat, lon = position(rng)
        yield sentence(f"PZTJWPL,{dm(lat, 2)},N,{dm(lon, 3)},E,-000005,M,P{i:06d},,a")
    for r in range(count):
        sentences = (per_route + 1) // 2
        for s in range(sentences):
            first = r * per_route + 2 * s
            second = f"P{first + 1:06d}" if 2 * s + 1 < per_route else ""
            yield sentence(f"PZTJRTE,{sentences},{s + 1},c,1,R{r:04d},P{first:06d},a,{second},a")
    yield "$PZTJCMD,END*3D\r\n"


def mif_points(rng, n, names, points):
    yield MIF_HEADER
    for i in range(n):
        lat, lon = position(rng)
        names.append(f"PT{i:07d}")
        points.append((lon, lat))
        yield f"Point {lon:.6f} {lat:.6f}\r\n    Symbol (32,0,9)\r\n"


def mif_lines(rng, n, names, points):
    yield MIF_HEADER
    for i in range(n):
        lat, lon = position(rng)
        names.append(f"L{i:05d}")
        yield f"Pline {VERTICES}\r\n"
        for _ in range(VERTICES):
            lat += rng.uniform(-0.001, 0.001)
            lon += rng.uniform(-0.001, 0.001)
            points.append((lon, lat))
            yield f"{lon:.6f} {lat:.6f}\r\n"
        yield "    Pen (2,2,0)\r\n"


def nmea_fixes(points):
    """The points as a GPS track of RMC sentences, one second apart."""
    for i, (lon, lat) in enumerate(points):
        t = i % 86400
        body = (f"GPRMC,{t // 3600:02d}{t // 60 % 60:02d}{t % 60:02d}.00,A,{dm(lat, 2)},N,"
                f"{dm(lon, 3)},E,0.0,0.0,061226,,")
        yield f"${body}*{checksum(body)}\r\n"


def main():
    folder, scale = Path(sys.argv[1]), float(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    size = lambda n: max(1, int(n * scale))

    write(folder / "waypoints.upt", waypoints(random.Random(1), size(FULL_WAYPOINTS)))
    write(folder / "track.log", track(random.Random(2), size(FULL_TRACK)))
    write(folder / "routes.rte", routes(random.Random(3), size(FULL_ROUTE_POINTS), size(ROUTE_COUNT)))
    names, points = [], []
    write(folder / "points.mif", mif_points(random.Random(4), size(FULL_MIF_POINTS), names, points))
    write(folder / "points.mid", (f"{name}\r\n" for name in names))
    write(folder / "points.csv", ["lon,lat,name\n"] + [f"{lon:.6f},{lat:.6f},{name}\n"
                                                      for (lon, lat), name in zip(points, names)])
    names, points = [], []
    write(folder / "lines.mif", mif_lines(random.Random(5), size(FULL_POLYLINES), names, points))
    write(folder / "lines.mid", (f"{name}\r\n" for name in names))
    write(folder / "lines.nmea", nmea_fixes(points))

    # The same points and track for the peers: CSV for ogr2ogr, NMEA for gpsbabel.
    rng = random.Random(1)
    with open(folder / "waypoints.csv", "w", newline="") as out:
        out.write("lon,lat,name\n")
        for i in range(size(FULL_WAYPOINTS)):
            lat, lon = position(rng)
            out.write(f"{lon:.7f},{lat:.7f},WP{i:07d}\n")
    rng = random.Random(2)
    lat, lon = position(rng)
    track_points = []
    for _ in range(size(FULL_TRACK)):
        lat += rng.uniform(-0.0005, 0.0005)
        lon += rng.uniform(-0.0005, 0.0005)
        track_points.append((lon, lat))
    write(folder / "track.nmea", nmea_fixes(track_points))


if __name__ == "__main__":
    main()
