#!/usr/bin/env python3
"""Mapnik's side of bench/render: the countries of a world-atlas text file
(tests/engine/world_atlas/fetch.sh) as polygons, in the same ground units
and world window as the engine's redraw, rendered RUNS times into a
2000 x 1000 image: their outlines (what the engine draws), then filled and
outlined. No labels. Prints each median.

Usage: render_mapnik.py ATLAS_TEXT [RUNS] [OUTPUT.png]
"""
import json
import os
import statistics
import sys
import tempfile
import time

import mapnik

WIDTH, HEIGHT = 2000, 1000
SRS = "+proj=merc +a=1 +b=1 +units=m +no_defs"  # the map's and the layer's: no reprojection


def read_countries(path):
    """Each country's rings as lists of (x, y), from the arcs and rings sections."""
    with open(path) as f:
        words = iter(f.read().split())
    assert next(words) == "arcs"
    arcs = []
    for _ in range(int(next(words))):
        values = [float(next(words)) for _ in range(2 * int(next(words)))]
        arcs.append(list(zip(values[0::2], values[1::2])))
    assert next(words) == "countries"
    for _ in range(int(next(words))):
        next(words)
        for _ in range(int(next(words))):
            next(words)
    assert next(words) == "rings"
    countries = []
    for _ in range(int(next(words))):
        next(words)
        rings = []
        for _ in range(int(next(words))):
            ring = []
            for _ in range(int(next(words))):
                signed = int(next(words))
                points = arcs[~signed][::-1] if signed < 0 else arcs[signed]
                ring.extend(points if not ring else points[1:])
            rings.append(ring)
        countries.append(rings)
    return countries


def render(m, runs):
    image = mapnik.Image(WIDTH, HEIGHT)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        mapnik.render(m, image)
        times.append(time.perf_counter() - start)
    return statistics.median(times), image


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    countries = read_countries(path)
    # Every ring a polygon of its country: outlined, the same lines as the
    # engine's arcs (each shared border twice, as Mapnik draws polygons).
    features = [{"type": "Feature", "properties": {},
                 "geometry": {"type": "MultiPolygon", "coordinates": [[r] for r in rings]}}
                for rings in countries if rings]
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "countries.geojson")
        with open(data, "w") as f:
            json.dump({"type": "FeatureCollection", "features": features}, f)
        results = []
        for name, fill in (("outlines", False), ("filled", True)):
            m = mapnik.Map(WIDTH, HEIGHT, SRS)
            m.background = mapnik.Color("white")
            style, rule = mapnik.Style(), mapnik.Rule()
            if fill:
                polygon = mapnik.PolygonSymbolizer()
                polygon.fill = mapnik.Color("#f2efe9")
                rule.symbols.append(polygon)
            line = mapnik.LineSymbolizer()
            line.stroke = mapnik.Color("#808080")
            line.stroke_width = 1.0
            rule.symbols.append(line)
            style.rules.append(rule)
            m.append_style("countries", style)
            layer = mapnik.Layer("countries", SRS)
            layer.datasource = mapnik.Datasource(type="geojson", file=data)
            layer.styles.append("countries")
            m.layers.append(layer)
            m.zoom_to_box(mapnik.Box2d(0, 0, 3600000, 1800000))
            seconds, image = render(m, runs)
            results.append(seconds)
            print(f"mapnik {name} median: {seconds:.4f} s ({WIDTH} x {HEIGHT}, "
                  f"{len(features)} polygons)")
            if len(sys.argv) > 3 and not fill:
                image.save(sys.argv[3], "png")


if __name__ == "__main__":
    main()
