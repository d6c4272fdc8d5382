// Writes a TopoJSON file of countries as plain text for the engine's tests
// and benchmark: its arcs as absolute points in ground units (longitude and
// latitude shifted to be non-negative, in units of 1e-4 degree), then each
// country with the arcs of all its rings.
//
//   arcs N
//   <points> x y x y ...        (one line per arc)
//   countries M
//   <id> <arcs> a a ...          (arc numbers from 0; reversed arcs as positive)
//   rings M
//   <id> <rings> <n> a a ... ... (each ring's arcs as in TopoJSON: ~a reversed)
"use strict";
const fs = require("fs");
const topology = JSON.parse(fs.readFileSync(process.argv[2], "utf8"));
const [sx, sy] = topology.transform.scale;
const [tx, ty] = topology.transform.translate;
const out = [`arcs ${topology.arcs.length}`];
for (const arc of topology.arcs) {
  let qx = 0, qy = 0;
  const words = [arc.length];
  for (const [dx, dy] of arc) {
    qx += dx;
    qy += dy;
    words.push((qx * sx + tx + 180) * 10000, (qy * sy + ty + 90) * 10000);
  }
  out.push(words.join(" "));
}
const countries = topology.objects.countries.geometries;
out.push(`countries ${countries.length}`);
countries.forEach((country, n) => {
  const polygons = country.type === "Polygon" ? [country.arcs] : country.arcs || [];
  const arcs = polygons.flat(2).map((a) => (a < 0 ? ~a : a));
  out.push([String(country.id || `n${n}`).replace(/\s/g, "_"), arcs.length, ...arcs].join(" "));
});
out.push(`rings ${countries.length}`);
countries.forEach((country, n) => {
  const polygons = country.type === "Polygon" ? [country.arcs] : country.arcs || [];
  const rings = polygons.flat(1);
  const words = [String(country.id || `n${n}`).replace(/\s/g, "_"), rings.length];
  for (const ring of rings) words.push(ring.length, ...ring);
  out.push(words.join(" "));
});
process.stdout.write(out.join("\n") + "\n");
