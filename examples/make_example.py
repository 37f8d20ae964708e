#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes a twin data file and a parameter file from a known stress tensor.

Each grain gets a random c-axis and three twin planes whose normals make 26 degrees with
it, 120 degrees apart around it (the e-planes of calcite). A plane counts as twinned
when its resolved shear stress under the chosen tensor exceeds the critical value, so
the data are free of noise apart from the rounding of every angle to whole degrees.

The files use the program's conventions:
  - a c-axis given by azimuth and plunge (blank sense letter) is read with the angle
    (630 - azimuth) mod 360 counted from the first axis, the plunge upward;
  - a c-axis may instead be given within a plane of strike d and dip p at an angle a
    from the strike ("D" for dip to one side, any other letter for the other);
  - a twin plane record gives its normal by the angle d from the first axis and the
    plunge p; a "D" plane stands for the normal of plunge 180 - p;
  - a principal stress of azimuth D and plunge P (downward) is the vector
    (cos P sin D, cos P cos D, -sin P);
  - a block with a non-zero rotation flag is rotated by the program after reading, so
    its records are written in the frame the rotation starts from.

Usage (what made the bundled example):
    python3 make_example.py --params params.txt --data data.txt
Run with --help for the tensor, the number of grains and blocks, and the seed.
The true tensor is printed on standard output.
"""
import argparse
import math
import random

READER_PI = 3.14159  # the constant the program converts the data angles with
E_PLANE_ANGLE = 26.0


def rad(deg):
    return deg * READER_PI / 180.0


def deg(r):
    return r * 180.0 / READER_PI


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def scale(a, k):
    return (a[0] * k, a[1] * k, a[2] * k)


def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def unit(a):
    return scale(a, 1.0 / math.sqrt(dot(a, a)))


def stress_axis(azimuth, plunge):
    p, d = math.radians(plunge), math.radians(azimuth)
    return (math.cos(p) * math.sin(d), math.cos(p) * math.cos(d), -math.sin(p))


def azimuth_plunge(v):
    """Azimuth and downward plunge of an axis, taken on its lower end."""
    if v[2] > 0:
        v = scale(v, -1.0)
    plunge = math.degrees(math.asin(max(-1.0, min(1.0, -v[2]))))
    azimuth = math.degrees(math.atan2(v[0], v[1])) % 360.0
    return azimuth, plunge


def rotate(v, a1, a2, a3):
    """The program's block rotation: about the third axis by a1, in the plane of the
    first and third axes by a2, about the third axis by a3 (radians)."""
    x1, x2, x3 = v
    u = x1 * math.cos(a1) - x2 * math.sin(a1)
    w2 = x1 * math.sin(a1) + x2 * math.cos(a1)
    w = u * math.cos(a2) - x3 * math.sin(a2)
    x3 = u * math.sin(a2) + x3 * math.cos(a2)
    return (w * math.cos(a3) - w2 * math.sin(a3), w * math.sin(a3) + w2 * math.cos(a3), x3)


def unrotate(v, a1, a2, a3):
    """The inverse of rotate: the vector the program must read to end at v."""
    x1, x2, x3 = v
    w = x1 * math.cos(a3) + x2 * math.sin(a3)
    w2 = -x1 * math.sin(a3) + x2 * math.cos(a3)
    u = w * math.cos(a2) + x3 * math.sin(a2)
    x3 = -w * math.sin(a2) + x3 * math.cos(a2)
    return (u * math.cos(a1) + w2 * math.sin(a1), -u * math.sin(a1) + w2 * math.cos(a1), x3)


def random_unit(rng):
    while True:
        v = (rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1))
        n = dot(v, v)
        if 0.01 < n <= 1.0:
            return unit(v)


def c_axis_record(c, rng, in_plane):
    """Fields (direction, plunge, sense, in-plane angle) that give the c-axis c."""
    if c[2] < 0:
        c = scale(c, -1.0)
    if not in_plane:
        plunge = math.degrees(math.asin(min(1.0, c[2])))
        theta = math.degrees(math.atan2(c[1], c[0])) % 360.0
        return (round(630.0 - theta) % 360, round(plunge), " ", 0)
    # Within a plane: c = cos r e1 + sin r e2, e1 = (-sin d, cos d, 0) along the strike,
    # e2 = (sin q cos d, sin q sin d, cos q) down the plane with q the signed dip.
    d = rng.randrange(0, 360)
    e1 = (-math.sin(rad(d)), math.cos(rad(d)), 0.0)
    cr = dot(c, e1)
    w = add(c, scale(e1, -cr))
    sr = math.sqrt(dot(w, w))  # sin r >= 0 keeps the dip within 0..90
    e2 = scale(w, 1.0 / sr)
    q = math.degrees(math.atan2(e2[0] * math.cos(rad(d)) + e2[1] * math.sin(rad(d)), e2[2]))
    r = deg(math.atan2(sr, cr))
    sense = "D" if q >= 0 else "G"
    return (d, round(abs(q)), sense, round(r - 90.0) % 360)


def plane_record(n, use_d):
    """Fields (direction, plunge, sense) of a twin plane of normal n."""
    if n[2] < 0:
        n = scale(n, -1.0)
    plunge = round(deg(math.asin(min(1.0, n[2]))))
    direction = round(deg(math.atan2(n[1], n[0]))) % 360
    if use_d:
        return ((direction + 180) % 360, plunge, "D")
    return (direction, plunge, " ")


def resolved_shear(n, g, s1, s2, ratio):
    """The program's ranking value: -(n.s1 g.s1 + R n.s2 g.s2) with the glide toward
    the c-axis; larger values favour twinning."""
    return -(dot(n, s1) * dot(g, s1) + ratio * dot(n, s2) * dot(g, s2))


def record_line(direction, plunge, sense, angle, grain, code):
    return "  %3d   %2d    %1s  %3d  %3d    %1s" % (direction, plunge, sense, angle, grain, code)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--sigma1", nargs=2, type=float, default=(40.0, 10.0),
                    metavar=("AZIMUTH", "PLUNGE"))
    ap.add_argument("--sigma3", nargs=2, type=float, default=(300.0, 20.0),
                    metavar=("AZIMUTH", "PLUNGE"),
                    help="made exactly perpendicular to sigma 1 before use")
    ap.add_argument("--ratio", type=float, default=0.3, help="R = (s2 - s3) / (s1 - s3)")
    ap.add_argument("--critical", type=float, default=0.12,
                    help="resolved shear stress above which a plane twins")
    ap.add_argument("--grains", type=int, default=60)
    ap.add_argument("--blocks", type=int, default=3, help="1 to 4; the blocks after the first are rotated")
    ap.add_argument("--seed", type=int, default=2010)
    ap.add_argument("--trials", type=int, default=200)
    ap.add_argument("--steps", type=int, default=900)
    ap.add_argument("--percent", type=int, default=100)
    ap.add_argument("--params", required=True)
    ap.add_argument("--data", required=True)
    args = ap.parse_args()
    if not 1 <= args.blocks <= 4 or args.grains > 99 * args.blocks:
        ap.error("at most 4 blocks of at most 99 grains")

    rng = random.Random(args.seed)
    s1 = stress_axis(*args.sigma1)
    s3 = stress_axis(*args.sigma3)
    s3 = unit(add(s3, scale(s1, -dot(s1, s3))))
    s2 = cross(s3, s1)

    rotations = [(0, 0, 0), (30, -20, 45), (-60, 15, 120), (10, 40, -90)]
    lines = []
    twinned = untwinned = 0
    per_block = [args.grains // args.blocks + (1 if b < args.grains % args.blocks else 0)
                 for b in range(args.blocks)]
    for b, count in enumerate(per_block):
        angles = rotations[b]
        a = [rad(x) for x in angles]
        lines.append("%1d    %4d %4d %4d " % (0 if b == 0 else 1, *angles))
        for grain in range(1, count + 1):
            c = random_unit(rng)
            if c[2] < 0:
                c = scale(c, -1.0)
            # Three normals 26 degrees from c, 120 degrees apart around it.
            e = unit(cross(c, random_unit(rng)))
            f = cross(c, e)
            k = math.radians(E_PLANE_ANGLE)
            normals = []
            for j in range(3):
                t = math.radians(120.0 * j)
                radial = add(scale(e, math.cos(t)), scale(f, math.sin(t)))
                normals.append(unit(add(scale(c, math.cos(k)), scale(radial, math.sin(k)))))
            d, p, sense, angle = c_axis_record(unrotate(c, *a), rng, rng.random() < 0.25)
            lines.append(record_line(d, p, sense, angle, grain, " "))
            for n in normals:
                g = unit(add(c, scale(n, -dot(c, n))))  # projection of c on the plane
                tau = resolved_shear(n, g, s1, s2, args.ratio)
                code = rng.choice("XMT") if tau > args.critical else "N"
                if code == "N":
                    untwinned += 1
                else:
                    twinned += 1
                d, p, sense = plane_record(unrotate(n, *a), rng.random() < 0.3)
                lines.append(record_line(d, p, sense, 0, grain, code))
        lines.append(record_line(400 if b + 1 < args.blocks else 999, 0, " ", 0, 0, " "))
    with open(args.data, "w") as out:
        out.write("\n".join(lines) + "\n")

    text = [
        "SYNTHETIC CALCITE TWINS FROM A KNOWN TENSOR",
        "made by make_example.py, seed %d: %d grains in %d blocks" % (args.seed, args.grains,
                                                                     args.blocks),
        "sigma 1 %03.0f/%02.0f, sigma 3 %03.0f/%02.0f, R = %.2f" % (
            *azimuth_plunge(s1), *azimuth_plunge(s3), args.ratio),
        "twinned when the resolved shear stress exceeds %.2f" % args.critical,
        "%d twinned and %d untwinned planes" % (twinned, untwinned),
        "", "", "", "", "",
    ]
    with open(args.params, "w") as out:
        out.write("\n".join(text) + "\n")
        out.write("1 %d %d %d %d 0 0\n" % (args.trials, args.percent, args.seed % 1000,
                                          args.steps))
        out.write("0 0\n")

    print("sigma 1  azimuth %5.1f  plunge %4.1f" % azimuth_plunge(s1))
    print("sigma 2  azimuth %5.1f  plunge %4.1f" % azimuth_plunge(s2))
    print("sigma 3  azimuth %5.1f  plunge %4.1f" % azimuth_plunge(s3))
    print("R = %.3f; %d twinned, %d untwinned planes" % (args.ratio, twinned, untwinned))


if __name__ == "__main__":
    main()
