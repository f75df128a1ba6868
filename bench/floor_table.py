#!/usr/bin/env python3
"""The table of bench/floor-compare.sh: reads hyperfine's JSON export, prints
each comparison as a ratio of median wall-clock times (and of processor
times, user + system, which other work on a shared machine stretches less),
and writes the medians for the chart."""
import json
import sys

# (what, Tessaly's command, the other command, wanted ratio, "max" when the
# ratio Tessaly / other must stay at most the wanted one, "min" when the ratio
# other / Tessaly must reach at least it)
COMPARISONS = [
    ("1. JPEG to BMP vs decoding alone", "tessaly-stamp JPEG to BMP", "djpeg to /dev/null", 1.5, "max"),
    ("1. the same, 2 x 2 watermark", "tessaly-stamp JPEG to BMP, 2 x 2", "djpeg to /dev/null", 1.5, "max"),
    ("1. gm composite vs JPEG to BMP", "tessaly-stamp JPEG to BMP", "gm composite JPEG to BMP", 7.0, "min"),
    ("1. the same, 2 x 2 watermark", "tessaly-stamp JPEG to BMP, 2 x 2", "gm composite JPEG to BMP", 7.0, "min"),
    # No program that decodes the photo can beat gm composite by more than
    # decoding alone does: the ceiling of the two rows above.
    ("   (the ceiling: gm composite vs decoding alone)", "djpeg to /dev/null",
     "gm composite JPEG to BMP", None, "min"),
    ("   (djpeg's own BMP vs JPEG to BMP)", "tessaly-stamp JPEG to BMP", "djpeg to BMP", None, "min"),
    ("2. PNG to BMP vs vips avg", "tessaly-stamp PNG to BMP", "vips avg PNG", 1.0, "max"),
    ("3. batch to JPEG: libvips vs Tessaly", "tessaly-stamp batch to JPEG", "vips composite2 batch to JPEG", 5.0, "min"),
    ("3. batch to BMP: ImageMagick vs Tessaly", "tessaly-stamp batch to BMP", "ImageMagick batch to BMP", 6.0, "min"),
]


def main(runs_json, chart_data):
    with open(runs_json) as f:
        results = {r["command"]: r for r in json.load(f)["results"]}
    wall = {name: r["median"] for name, r in results.items()}
    cpu = {name: r["user"] + r["system"] for name, r in results.items()}

    print("| Comparison | Tessaly [s] | other [s] | ratio, wall | ratio, CPU | wanted | met |")
    print("|:---|---:|---:|---:|---:|---:|:---:|")
    for what, ours, other, wanted, sense in COMPARISONS:
        if sense == "max":
            ratio, ratio_cpu = wall[ours] / wall[other], cpu[ours] / cpu[other]
            goal = f"at most {wanted:g}" if wanted else ""
            met = ratio <= wanted if wanted else None
        else:
            ratio, ratio_cpu = wall[other] / wall[ours], cpu[other] / cpu[ours]
            goal = f"at least {wanted:g}" if wanted else ""
            met = ratio >= wanted if wanted else None
        mark = "" if met is None else ("yes" if met else "**no**")
        print(f"| {what} | {wall[ours]:.3f} | {wall[other]:.3f} | {ratio:.2f} | {ratio_cpu:.2f} "
              f"| {goal} | {mark} |")

    print()
    print("| Command | median wall [s] | CPU, user + system [s] |")
    print("|:---|---:|---:|")
    with open(chart_data, "w") as out:
        for name, r in results.items():
            print(f"| `{name}` | {wall[name]:.3f} | {cpu[name]:.3f} |")
            ours = 1 if name.startswith("tessaly") else 0
            out.write(f'"{name}" {wall[name]:.4f} {cpu[name]:.4f} {ours}\n')


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
