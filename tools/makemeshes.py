#!/usr/bin/env python3
"""Writes the game's meshes, their textures and shaders into Data/:

  plane3/plane_normals.ase      the biplane: fuselage, wings (with struts and
                                tail), propeller, landing gear
  plane4/craft.ase              the pursuit plane: fuselage, wings and tail,
                                canopy, propeller
  box/boulder_normals.ase       the boulder: one lumpy rock
  Pickups/Credits_Pickup.ase    the credits coin
  Textures/Meshes/*.bmp         their textures (24-bit, powers of two)
  Shaders/Meshes/*.shader       one surface shader per material, all drawn
                                with the lit GLSL program lit.vert / lit.frag

Axes: nose along +Y, up along +Z, wingspan along X. Every face carries
normals and texture coordinates; each corner is a vertex of its own, so a
face's normals are exactly the ones written (smooth or flat).
The output is the same on every run. Run from the repository root:
    python3 tools/makemeshes.py [Data directory]
"""

import math
import os
import random
import struct
import sys

# ---- Geometry ---------------------------------------------------------------


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def normalize(v):
    length = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    return (0.0, 0.0, 1.0) if length < 1e-9 else (v[0] / length, v[1] / length, v[2] / length)


def face_normal(p0, p1, p2):
    return normalize(cross(sub(p1, p0), sub(p2, p0)))


class Part:
    """One sub-mesh: triangles with a normal and a texture coordinate per corner."""

    def __init__(self, name, material):
        self.name = name
        self.material = material
        self.corners = []  # (position, normal, uv)

    def tri(self, p, n, uv):
        """A triangle; n is None for a flat one. Corners run counter-clockwise
        seen from the side the normals point to."""
        if n is None:
            flat = face_normal(*p)
            n = (flat, flat, flat)
        for k in range(3):
            self.corners.append((p[k], n[k], uv[k]))

    def quad(self, p, n, uv):
        self.tri((p[0], p[1], p[2]), None if n is None else (n[0], n[1], n[2]), (uv[0], uv[1], uv[2]))
        self.tri((p[0], p[2], p[3]), None if n is None else (n[0], n[2], n[3]), (uv[0], uv[2], uv[3]))

    def loft(self, rings, normals, u_range=(0.0, 1.0), v_range=(0.0, 1.0), closed=True):
        """Joins consecutive rings of points (same count each) with quads;
        normals[i][j] belongs to rings[i][j]."""
        count = len(rings[0])
        steps = count if closed else count - 1
        for i in range(len(rings) - 1):
            v0 = v_range[0] + (v_range[1] - v_range[0]) * i / (len(rings) - 1)
            v1 = v_range[0] + (v_range[1] - v_range[0]) * (i + 1) / (len(rings) - 1)
            for j in range(steps):
                k = (j + 1) % count
                u0 = u_range[0] + (u_range[1] - u_range[0]) * j / steps
                u1 = u_range[0] + (u_range[1] - u_range[0]) * (j + 1) / steps
                self.quad((rings[i][j], rings[i][k], rings[i + 1][k], rings[i + 1][j]),
                          (normals[i][j], normals[i][k], normals[i + 1][k], normals[i + 1][j]),
                          ((u0, v0), (u1, v0), (u1, v1), (u0, v1)))

    def cap(self, ring, centre, uv_centre=(0.5, 0.5), uv_radius=0.5, reverse=False):
        """A flat fan closing a ring."""
        count = len(ring)
        for j in range(count):
            a, b = ring[j], ring[(j + 1) % count]
            ua = (uv_centre[0] + uv_radius * math.cos(2 * math.pi * j / count),
                  uv_centre[1] + uv_radius * math.sin(2 * math.pi * j / count))
            ub = (uv_centre[0] + uv_radius * math.cos(2 * math.pi * (j + 1) / count),
                  uv_centre[1] + uv_radius * math.sin(2 * math.pi * (j + 1) / count))
            if reverse:
                self.tri((centre, b, a), None, (uv_centre, ub, ua))
            else:
                self.tri((centre, a, b), None, (uv_centre, ua, ub))

    def box(self, centre, size, uv_scale=1.0):
        """An axis-aligned box with flat faces."""
        cx, cy, cz = centre
        hx, hy, hz = size[0] / 2, size[1] / 2, size[2] / 2
        c = [(cx + sx * hx, cy + sy * hy, cz + sz * hz) for sz in (-1, 1) for sy in (-1, 1) for sx in (-1, 1)]
        uv = ((0, 0), (uv_scale, 0), (uv_scale, uv_scale), (0, uv_scale))
        for f in ((0, 2, 3, 1), (4, 5, 7, 6), (0, 1, 5, 4), (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)):
            self.quad(tuple(c[i] for i in f), None, uv)

    def strut(self, a, b, width):
        """A thin square rod from a to b."""
        axis = normalize(sub(b, a))
        side = normalize(cross(axis, (0.0, 1.0, 0.0) if abs(axis[1]) < 0.9 else (1.0, 0.0, 0.0)))
        other = cross(axis, side)
        h = width / 2
        offsets = [(side[i] * sx * h + other[i] * so * h for i in range(3)) for sx, so in ((1, 1), (-1, 1), (-1, -1), (1, -1))]
        offsets = [tuple(o) for o in offsets]
        ring_a = [tuple(a[i] + o[i] for i in range(3)) for o in offsets]
        ring_b = [tuple(b[i] + o[i] for i in range(3)) for o in offsets]
        for j in range(4):
            k = (j + 1) % 4
            out = normalize(tuple(offsets[j][i] + offsets[k][i] for i in range(3)))
            self.quad((ring_a[j], ring_a[k], ring_b[k], ring_b[j]), (out, out, out, out), ((0, 0), (0.1, 0), (0.1, 1), (0, 1)))

    def transformed(self, fn):
        """Applies fn(position, normal) -> (position, normal) to every corner."""
        self.corners = [fn(p, n) + (uv,) for p, n, uv in self.corners]


def ellipse_ring(y, cx, cz, rx, rz, count, flatten_bottom=0.0):
    """Points around an ellipse in the plane of constant y, with their outward
    normals; starts at the top and runs counter-clockwise seen from the nose."""
    points, normals = [], []
    for j in range(count):
        a = 2 * math.pi * j / count
        s, c = math.sin(a), math.cos(a)
        z = cz + rz * c
        if flatten_bottom and c < 0:
            z = cz + rz * c * (1 - flatten_bottom)
        points.append((cx + rx * s, y, z))
        normals.append(normalize((s / max(rx, 1e-6), 0.0, c / max(rz, 1e-6))))
    return points, normals


def body(part, sections, count=16, cap_nose=True, cap_tail=True):
    """A fuselage lofted through (y, cz, rx, rz) sections, tail first."""
    rings, normals = [], []
    for y, cz, rx, rz in sections:
        r, n = ellipse_ring(y, 0.0, cz, rx, rz, count)
        rings.append(r)
        normals.append(n)
    part.loft(rings, normals)
    if cap_tail:
        part.cap(rings[0], (0.0, sections[0][0], sections[0][1]), reverse=True)
    if cap_nose:
        part.cap(rings[-1], (0.0, sections[-1][0], sections[-1][1]), reverse=False)


def airfoil(chord, thickness, count=12):
    """A closed wing section in the (y, z) plane, leading edge at +y; points
    with their outward normals, upper surface first (from the trailing edge)."""
    points = []
    for j in range(count):
        t = j / count
        a = 2 * math.pi * t
        y = 0.5 * chord * math.cos(a)
        # A fuller upper side and a thin trailing edge.
        z = thickness * 0.5 * math.sin(a) * (1.0 if math.sin(a) > 0 else 0.55) * (0.35 + 0.65 * (0.5 + 0.5 * math.cos(a)) ** 0.5)
        points.append((y, z))
    normals = []
    for j in range(count):
        prev, nxt = points[j - 1], points[(j + 1) % count]
        dy, dz = nxt[0] - prev[0], nxt[1] - prev[1]
        normals.append(normalize((0.0, dz, -dy)))
    return points, normals


def wing(part, x0, x1, y_centre, z, chord0, chord1, thickness, dihedral=0.0, sweep=0.0, stations=6):
    """A wing panel from span x0 to x1; chord and height change linearly.
    u runs along the span, v around the section."""
    rings, normals = [], []
    for i in range(stations + 1):
        t = i / stations
        x = x0 + (x1 - x0) * t
        chord = chord0 + (chord1 - chord0) * t
        section, section_normals = airfoil(chord, thickness * chord / chord0)
        lift = abs(x) * dihedral
        back = abs(x) * sweep
        rings.append([(x, y_centre - back + sy, z + lift + sz) for sy, sz in section])
        normals.append([(0.0, n[1], n[2]) for n in section_normals])
    # Loft across the span: ring i is one station; swap roles so u is span.
    count = len(rings[0])
    for i in range(stations):
        for j in range(count):
            k = (j + 1) % count
            u0, u1 = i / stations, (i + 1) / stations
            v0, v1 = j / count, (j + 1) / count
            if x1 > x0:
                p = (rings[i][j], rings[i + 1][j], rings[i + 1][k], rings[i][k])
                n = (normals[i][j], normals[i + 1][j], normals[i + 1][k], normals[i][k])
                uv = ((u0, v0), (u1, v0), (u1, v1), (u0, v1))
            else:
                p = (rings[i][j], rings[i][k], rings[i + 1][k], rings[i + 1][j])
                n = (normals[i][j], normals[i][k], normals[i + 1][k], normals[i + 1][j])
                uv = ((u0, v0), (u0, v1), (u1, v1), (u1, v0))
            part.quad(p, n, uv)
    tip = rings[-1]
    centre = tuple(sum(p[i] for p in tip) / len(tip) for i in range(3))
    part.cap(tip, centre, reverse=(x1 < x0))
    root = rings[0]
    centre = tuple(sum(p[i] for p in root) / len(root) for i in range(3))
    part.cap(root, centre, reverse=(x1 > x0))


def fin(part, y0, y1, z0, height, chord0, chord1, thickness, sweep):
    """A vertical tail fin standing on z0; the same section as a wing, turned up."""
    sub_part = Part("", "")
    wing(sub_part, 0.0, height, 0.0, 0.0, chord0, chord1, thickness, sweep=sweep, stations=3)
    y_mid = (y0 + y1) / 2

    def turn_up(p, n):
        return (0.0 - p[2], y_mid + p[1], z0 + p[0]), (-n[2], n[1], n[0])

    sub_part.transformed(turn_up)
    part.corners.extend(sub_part.corners)


def disc(part, centre, radius, thickness, axis, count=24, rim_v=(0.0, 1.0)):
    """A cylinder of the given thickness around an axis ("x" or "y"), with flat
    faces; the faces map the texture's disc, the rim a band."""
    front, back, normals = [], [], []
    for j in range(count):
        a = 2 * math.pi * j / count
        c, s = math.cos(a) * radius, math.sin(a) * radius
        if axis == "y":
            front.append((centre[0] + c, centre[1] + thickness / 2, centre[2] + s))
            back.append((centre[0] + c, centre[1] - thickness / 2, centre[2] + s))
            normals.append((math.cos(a), 0.0, math.sin(a)))
        else:
            front.append((centre[0] + thickness / 2, centre[1] + c, centre[2] + s))
            back.append((centre[0] - thickness / 2, centre[1] + c, centre[2] + s))
            normals.append((0.0, math.cos(a), math.sin(a)))
    part.loft([back, front], [normals, normals], v_range=rim_v)
    part.cap(front, tuple(centre[i] + (thickness / 2 if (axis == "y" and i == 1) or (axis == "x" and i == 0) else 0) for i in range(3)), reverse=(axis == "y"))
    part.cap(back, tuple(centre[i] - (thickness / 2 if (axis == "y" and i == 1) or (axis == "x" and i == 0) else 0) for i in range(3)), reverse=(axis != "y"))


def propeller(part, y, z, radius, blade_chord, spinner_length, spinner_radius):
    """Two blades in the XZ plane in front of y, with a spinner cone."""
    for side in (1, -1):
        ring_roots, ring_tips = [], []
        stations = 5
        rings, normals = [], []
        for i in range(stations + 1):
            t = i / stations
            r = spinner_radius * 0.6 + (radius - spinner_radius * 0.6) * t
            chord = blade_chord * (0.7 + 0.6 * math.sin(math.pi * min(t * 1.1, 1.0))) * (1 - 0.5 * t * t)
            twist = math.radians(35 - 25 * t) * side
            section, section_normals = airfoil(chord, chord * 0.18, count=8)
            ring, ring_n = [], []
            for (sy, sz), n in zip(section, section_normals):
                # Section in the blade's own (chord, thickness) plane, turned by the twist.
                cx = sy * math.cos(twist) - sz * math.sin(twist)
                cy = sy * math.sin(twist) + sz * math.cos(twist)
                nx = n[1] * math.cos(twist) - n[2] * math.sin(twist)
                ny = n[1] * math.sin(twist) + n[2] * math.cos(twist)
                ring.append((cx, y + cy, z + side * r))
                ring_n.append(normalize((nx, ny, 0.0)))
            rings.append(ring)
            normals.append(ring_n)
        part.loft(rings, normals)
        tip = rings[-1]
        part.cap(tip, tuple(sum(p[i] for p in tip) / len(tip) for i in range(3)), reverse=(side < 0))
    # The spinner: a cone from the hub to its point.
    sections = [(y - 0.05, z, spinner_radius, spinner_radius), (y + spinner_length * 0.5, z, spinner_radius * 0.8, spinner_radius * 0.8),
                (y + spinner_length * 0.85, z, spinner_radius * 0.4, spinner_radius * 0.4), (y + spinner_length, z, 0.02, 0.02)]
    body(part, sections, count=12)


# ---- The models -------------------------------------------------------------


def biplane():
    fuselage = Part("Fuselage", "Shaders\\Meshes\\biplane_body.shader")
    body(fuselage, [(-3.3, 0.25, 0.06, 0.10), (-2.6, 0.22, 0.22, 0.26), (-1.6, 0.16, 0.38, 0.44), (-0.6, 0.10, 0.48, 0.55),
                    (0.3, 0.06, 0.52, 0.58), (1.2, 0.04, 0.52, 0.56), (1.9, 0.04, 0.50, 0.52), (2.15, 0.04, 0.46, 0.46)])
    # The cockpit's headrest and windscreen frame behind the upper wing.
    fuselage.box((0.0, -0.95, 0.66), (0.34, 0.5, 0.16), 0.2)
    fuselage.box((0.0, -0.35, 0.68), (0.5, 0.06, 0.2), 0.2)

    wings = Part("Wings", "Shaders\\Meshes\\biplane_wings.shader")
    for side in (1, -1):
        wing(wings, side * 0.1, side * 4.2, 0.55, 1.25, 1.35, 1.2, 0.16, dihedral=0.015)
        wing(wings, side * 0.45, side * 3.8, 0.35, -0.38, 1.2, 1.05, 0.14, dihedral=0.03)
        # Interplane struts near the tips, cabane struts over the fuselage.
        for dy in (0.3, -0.3):
            wings.strut((side * 2.9, 0.35 + dy, -0.30), (side * 2.95, 0.55 + dy, 1.18), 0.07)
            wings.strut((side * 0.32, 0.45 + dy, 0.42), (side * 0.25, 0.55 + dy, 1.18), 0.06)
        # Tailplane.
        wing(wings, side * 0.05, side * 1.35, -2.9, 0.25, 0.75, 0.5, 0.08)
    fin(wings, -3.3, -2.6, 0.3, 0.85, 0.8, 0.45, 0.09, sweep=0.35)

    prop = Part("Propeller", "Shaders\\Meshes\\propeller.shader")
    propeller(prop, 2.2, 0.04, 1.15, 0.2, 0.45, 0.2)

    gear = Part("Gear", "Shaders\\Meshes\\gear.shader")
    for side in (1, -1):
        disc(gear, (side * 0.75, 1.0, -1.15), 0.32, 0.14, "x")
        gear.strut((side * 0.72, 1.0, -1.15), (side * 0.3, 1.25, -0.35), 0.06)
        gear.strut((side * 0.72, 1.0, -1.15), (side * 0.3, 0.55, -0.35), 0.06)
    gear.strut((-0.72, 1.0, -1.15), (0.72, 1.0, -1.15), 0.05)
    gear.strut((0.0, -3.0, 0.05), (0.0, -3.15, -0.2), 0.05)
    return [fuselage, wings, prop, gear]


def pursuit_plane():
    fuselage = Part("Fuselage", "Shaders\\Meshes\\craft_body.shader")
    body(fuselage, [(-3.6, 0.30, 0.05, 0.08), (-3.0, 0.22, 0.16, 0.22), (-1.8, 0.10, 0.32, 0.40), (-0.4, 0.02, 0.44, 0.50),
                    (0.9, 0.0, 0.46, 0.50), (2.0, 0.0, 0.44, 0.46), (2.7, 0.0, 0.38, 0.38), (2.85, 0.0, 0.34, 0.34)], count=18)

    wings = Part("Wings", "Shaders\\Meshes\\craft_wings.shader")
    for side in (1, -1):
        wing(wings, side * 0.2, side * 4.1, 0.3, -0.25, 1.8, 0.8, 0.18, dihedral=0.08, sweep=0.06)
        wing(wings, side * 0.05, side * 1.4, -3.15, 0.2, 0.8, 0.45, 0.08, sweep=0.12)
    fin(wings, -3.6, -2.8, 0.25, 0.95, 0.95, 0.4, 0.09, sweep=0.5)

    canopy = Part("Canopy", "Shaders\\Meshes\\craft_canopy.shader")
    body(canopy, [(-1.2, 0.42, 0.05, 0.05), (-0.9, 0.45, 0.22, 0.22), (-0.3, 0.46, 0.26, 0.30), (0.3, 0.44, 0.24, 0.26),
                  (0.7, 0.40, 0.10, 0.12)], count=14)

    prop = Part("Propeller", "Shaders\\Meshes\\propeller.shader")
    propeller(prop, 2.9, 0.0, 1.3, 0.22, 0.55, 0.26)
    return [fuselage, wings, canopy, prop]


def boulder():
    rock = Part("Boulder", "Shaders\\Meshes\\boulder.shader")
    rng = random.Random(1972)
    # An icosahedron subdivided twice, each vertex pushed out by lumpy noise.
    t = (1 + math.sqrt(5)) / 2
    verts = [normalize(v) for v in [(-1, t, 0), (1, t, 0), (-1, -t, 0), (1, -t, 0), (0, -1, t), (0, 1, t), (0, -1, -t), (0, 1, -t),
                                    (t, 0, -1), (t, 0, 1), (-t, 0, -1), (-t, 0, 1)]]
    faces = [(0, 11, 5), (0, 5, 1), (0, 1, 7), (0, 7, 10), (0, 10, 11), (1, 5, 9), (5, 11, 4), (11, 10, 2), (10, 7, 6), (7, 1, 8),
             (3, 9, 4), (3, 4, 2), (3, 2, 6), (3, 6, 8), (3, 8, 9), (4, 9, 5), (2, 4, 11), (6, 2, 10), (8, 6, 7), (9, 8, 1)]
    for _ in range(3):
        middle = {}

        def mid(a, b):
            key = (min(a, b), max(a, b))
            if key not in middle:
                verts.append(normalize(tuple((verts[a][i] + verts[b][i]) / 2 for i in range(3))))
                middle[key] = len(verts) - 1
            return middle[key]

        faces = [f for a, b, c in faces for f in ((a, mid(a, b), mid(c, a)), (b, mid(b, c), mid(a, b)), (c, mid(c, a), mid(b, c)),
                                                  (mid(a, b), mid(b, c), mid(c, a)))]
    bumps = [(normalize((rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1))), rng.uniform(0.08, 0.22), rng.uniform(2.0, 5.0))
             for _ in range(14)]

    def radius(v):
        r = 1.0
        for centre, height, sharpness in bumps:
            d = v[0] * centre[0] + v[1] * centre[1] + v[2] * centre[2]
            r += height * math.exp(-sharpness * (1 - d)) - height * 0.3
        return r

    # Wider than high, sitting on a flattened base.
    positions = []
    for v in verts:
        r = radius(v)
        p = (v[0] * r * 1.3, v[1] * r * 1.05, v[2] * r * 0.8)
        if p[2] < -0.55:
            p = (p[0], p[1], -0.55 + (p[2] + 0.55) * 0.2)
        positions.append(p)
    normals = [[0.0, 0.0, 0.0] for _ in verts]
    for a, b, c in faces:
        n = cross(sub(positions[b], positions[a]), sub(positions[c], positions[a]))
        for i in (a, b, c):
            for k in range(3):
                normals[i][k] += n[k]
    normals = [normalize(tuple(n)) for n in normals]

    def uv(p):
        return (0.5 + math.atan2(p[1], p[0]) / (2 * math.pi), 0.5 + p[2] * 0.45)

    for a, b, c in faces:
        uvs = [uv(positions[i]) for i in (a, b, c)]
        # Keep a face that straddles the seam on one side of it.
        if max(u for u, _ in uvs) - min(u for u, _ in uvs) > 0.5:
            uvs = [(u + 1.0 if u < 0.5 else u, v) for u, v in uvs]
        rock.tri((positions[a], positions[b], positions[c]), (normals[a], normals[b], normals[c]), tuple(uvs))
    return [rock]


def coin():
    part = Part("Coin", "Shaders\\Meshes\\coin.shader")
    # Faces towards +Y and -Y, so its width along X is its diameter.
    disc(part, (0.0, 0.0, 0.0), 1.0, 0.16, "y", count=40, rim_v=(0.0, 0.06))
    return [part]


# ---- ASE output -------------------------------------------------------------


def fmt(x):
    return "%.4f" % (0.0 if abs(x) < 5e-5 else x)


def write_ase(path, parts, comment):
    materials = []
    for p in parts:
        if p.material not in materials:
            materials.append(p.material)
    out = ["*3DSMAX_ASCIIEXPORT\t200", '*COMMENT "%s"' % comment, "*SCENE {", '\t*SCENE_FILENAME "%s"' % os.path.basename(path),
           "\t*SCENE_FIRSTFRAME 0", "\t*SCENE_LASTFRAME 100", "}", "*MATERIAL_LIST {", "\t*MATERIAL_COUNT %d" % len(materials)]
    for i, m in enumerate(materials):
        out += ["\t*MATERIAL %d {" % i, '\t\t*MATERIAL_NAME "%s"' % m, '\t\t*MATERIAL_CLASS "Standard"',
                "\t\t*MATERIAL_DIFFUSE\t1.0000\t1.0000\t1.0000", "\t\t*MAP_DIFFUSE {", '\t\t\t*MAP_CLASS "Bitmap"', "\t\t}", "\t}"]
    out.append("}")
    for p in parts:
        n = len(p.corners) // 3
        out += ["*GEOMOBJECT {", '\t*NODE_NAME "%s"' % p.name, "\t*NODE_TM {", '\t\t*NODE_NAME "%s"' % p.name,
                "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000", "\t\t*TM_ROW1 0.0000\t1.0000\t0.0000", "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000",
                "\t\t*TM_ROW3 0.0000\t0.0000\t0.0000", "\t}", "\t*MESH {", "\t\t*TIMEVALUE 0",
                "\t\t*MESH_NUMVERTEX %d" % len(p.corners), "\t\t*MESH_NUMFACES %d" % n, "\t\t*MESH_VERTEX_LIST {"]
        out += ["\t\t\t*MESH_VERTEX %5d\t%s\t%s\t%s" % (i, fmt(c[0][0]), fmt(c[0][1]), fmt(c[0][2])) for i, c in enumerate(p.corners)]
        out += ["\t\t}", "\t\t*MESH_FACE_LIST {"]
        out += ["\t\t\t*MESH_FACE %5d:    A: %5d B: %5d C: %5d AB:    1 BC:    1 CA:    1\t *MESH_SMOOTHING 1 \t*MESH_MTLID 0"
                % (f, 3 * f, 3 * f + 1, 3 * f + 2) for f in range(n)]
        out += ["\t\t}", "\t\t*MESH_NUMTVERTEX %d" % len(p.corners), "\t\t*MESH_TVERTLIST {"]
        # Texture rows run downwards in ASE files.
        out += ["\t\t\t*MESH_TVERT %5d\t%s\t%s\t0.0000" % (i, fmt(c[2][0]), fmt(1.0 - c[2][1])) for i, c in enumerate(p.corners)]
        out += ["\t\t}", "\t\t*MESH_NUMTVFACES %d" % n, "\t\t*MESH_TFACELIST {"]
        out += ["\t\t\t*MESH_TFACE %5d\t%d\t%d\t%d" % (f, 3 * f, 3 * f + 1, 3 * f + 2) for f in range(n)]
        out += ["\t\t}", "\t\t*MESH_NORMALS {"]
        for f in range(n):
            c = p.corners[3 * f:3 * f + 3]
            fn = face_normal(c[0][0], c[1][0], c[2][0])
            out.append("\t\t\t*MESH_FACENORMAL %d\t%s\t%s\t%s" % (f, fmt(fn[0]), fmt(fn[1]), fmt(fn[2])))
            for k in range(3):
                vn = c[k][1]
                out.append("\t\t\t\t*MESH_VERTEXNORMAL %d\t%s\t%s\t%s" % (3 * f + k, fmt(vn[0]), fmt(vn[1]), fmt(vn[2])))
        out += ["\t\t}", "\t}", "\t*PROP_MOTIONBLUR 0", "\t*PROP_CASTSHADOW 1", "\t*PROP_RECVSHADOW 1",
                "\t*MATERIAL_REF %d" % materials.index(p.material), "}"]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")
    return sum(len(p.corners) // 3 for p in parts)


# ---- Textures ---------------------------------------------------------------


def write_bmp(path, size, pixel):
    """A 24-bit BMP of size x size; pixel(u, v) gives (r, g, b) with v = 0 at
    the top of the image (texture coordinate v = 1 - row / size)."""
    row_bytes = size * 3
    data = bytearray()
    for row in range(size - 1, -1, -1):  # BMP rows run bottom-up
        for col in range(size):
            r, g, b = pixel((col + 0.5) / size, (row + 0.5) / size)
            data += bytes((max(0, min(255, int(b))), max(0, min(255, int(g))), max(0, min(255, int(r)))))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + data)
    assert row_bytes % 4 == 0


class Noise:
    """Smooth value noise on a tiling grid, deterministic by seed."""

    def __init__(self, seed, cells):
        rng = random.Random(seed)
        self.cells = cells
        self.values = [[rng.random() for _ in range(cells)] for _ in range(cells)]

    def __call__(self, u, v):
        x, y = (u % 1.0) * self.cells, (v % 1.0) * self.cells
        i, j = int(x), int(y)
        fx, fy = x - i, y - j
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        c = self.cells
        a = self.values[j % c][i % c] * (1 - fx) + self.values[j % c][(i + 1) % c] * fx
        b = self.values[(j + 1) % c][i % c] * (1 - fx) + self.values[(j + 1) % c][(i + 1) % c] * fx
        return a * (1 - fy) + b * fy


def shade(colour, k):
    return tuple(c * k for c in colour)


def textures(directory):
    fine, coarse = Noise(7, 32), Noise(11, 6)

    def grain(u, v):
        return 0.85 + 0.1 * fine(u, v) + 0.1 * coarse(u, v)

    def biplane_body(u, v):
        # u around the fuselage (0 = top), v from tail (0) to nose (1).
        colour = (178, 34, 30)
        if 0.78 < v < 0.84:
            colour = (235, 232, 220)  # the white band behind the cowling
        if v > 0.9:
            colour = (150, 150, 150)  # the metal cowling
        if 0.2 < v < 0.32 and (0.2 < u < 0.3 or 0.7 < u < 0.8):
            colour = (240, 238, 228)  # the number plate on each side
        return shade(colour, grain(u, v))

    def biplane_wings(u, v):
        # u along the span (root 0, tip 1), v around the section.
        colour = (222, 184, 64)
        if (u * 9) % 1.0 < 0.06:
            colour = shade(colour, 0.82)  # the ribs under the fabric
        du, dv = (u - 0.8) * 2.2, ((v + 0.25) % 0.5 - 0.25) * 4
        d = math.sqrt(du * du + dv * dv)
        if d < 0.5:
            colour = (30, 60, 160) if d > 0.33 else (235, 235, 235) if d > 0.17 else (190, 30, 30)
        return shade(colour, grain(u, v))

    def propeller_wood(u, v):
        stripe = 0.5 + 0.5 * math.sin(v * 60 + 6 * coarse(u, v))
        return shade((120, 76, 40), 0.7 + 0.3 * stripe)

    def gear(u, v):
        return shade((40, 40, 42), grain(u, v))

    def craft_body(u, v):
        colour = (92, 108, 80)  # olive upper side
        if 0.3 < u < 0.7:
            colour = (170, 182, 190)  # pale underside
        if 0.9 < v:
            colour = (200, 40, 40)  # red spinner ring
        if 0.45 < v < 0.5:
            colour = (230, 200, 40)  # the yellow band
        return shade(colour, grain(u, v))

    def craft_wings(u, v):
        colour = (92, 108, 80) if v < 0.5 else (170, 182, 190)
        du, dv = (u - 0.72) * 1.8, (v - 0.25) * 5
        if v < 0.5 and math.sqrt(du * du + dv * dv) < 0.35:
            colour = (240, 240, 240) if math.sqrt(du * du + dv * dv) > 0.2 else (30, 40, 120)
        return shade(colour, grain(u, v))

    def canopy(u, v):
        frame = (v * 4) % 1.0 < 0.08
        return (60, 60, 60) if frame else shade((120, 170, 210), 0.8 + 0.3 * (1 - abs(u - 0.5)))

    def rock(u, v):
        k = 0.55 + 0.35 * coarse(u * 2, v * 2) + 0.15 * fine(u * 3, v * 3)
        return (118 * k, 110 * k, 100 * k)

    def coin(u, v):
        du, dv = u - 0.5, v - 0.5
        d = math.sqrt(du * du + dv * dv) * 2
        gold = (236, 186, 52)
        if d > 0.86 or 0.7 < d < 0.76:
            return shade(gold, 0.78)  # the raised rim and the inner ring
        # A "C" in the middle.
        if 0.28 < d < 0.48 and not (du > 0.0 and abs(dv) < 0.11):
            return shade(gold, 0.72)
        return shade(gold, 1.0 + 0.08 * fine(u, v))

    sets = [("biplane_body", 256, biplane_body), ("biplane_wings", 256, biplane_wings), ("propeller", 64, propeller_wood),
            ("gear", 32, gear), ("craft_body", 256, craft_body), ("craft_wings", 256, craft_wings), ("craft_canopy", 64, canopy),
            ("boulder", 128, rock), ("coin", 128, coin)]
    for name, size, pixel in sets:
        write_bmp(os.path.join(directory, "Textures", "Meshes", name + ".bmp"), size, pixel)
    return [name for name, _, _ in sets]


SHADER = """!!ZSS1.1
; Written by tools/makemeshes.py: the %s texture, lit by the sun.
SurfaceShader
{
  Projection ZPR_PERSPECTIVE
  Texture0
  {
    File Textures\\Meshes\\%s.bmp
  }
  ShaderProgram
  {
    VertexProgram Shaders\\Meshes\\lit.vert
    FragmentProgram Shaders\\Meshes\\lit.frag
  }
  Enable
  {
    ColorWrites
    DepthWrites
    DepthTest
  }
}
"""

VERTEX_PROGRAM = """// Written by tools/makemeshes.py. Diffuse sunlight in the model's own space:
// InvModelView takes the world's sun direction into it, so the light stays
// put however the model turns and the camera moves.
uniform mat4 InvModelView;
varying vec3 Normal;
varying vec3 SunDirection;

void main() {
    vec3 Sun = normalize(vec3(0.45, -0.35, 0.82));
    SunDirection = (InvModelView * vec4(Sun, 0.0)).xyz;
    Normal = gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
"""

FRAGMENT_PROGRAM = """// Written by tools/makemeshes.py: the texture under sky light and sunlight.
uniform sampler2D Texture0;
varying vec3 Normal;
varying vec3 SunDirection;

void main() {
    vec3 N = normalize(Normal);
    float Sun = max(dot(N, normalize(SunDirection)), 0.0);
    float Sky = 0.5 + 0.5 * N.z;
    vec3 Light = vec3(0.22, 0.24, 0.3) + 0.2 * Sky + vec3(0.9, 0.86, 0.78) * Sun;
    gl_FragColor = vec4(texture2D(Texture0, gl_TexCoord[0].st).rgb * Light, 1.0);
}
"""


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "Data"
    models = [("plane3/plane_normals.ase", biplane(), "Biplane"), ("plane4/craft.ase", pursuit_plane(), "Pursuit plane"),
              ("box/boulder_normals.ase", boulder(), "Boulder"), ("Pickups/Credits_Pickup.ase", coin(), "Credits coin")]
    for path, parts, comment in models:
        faces = write_ase(os.path.join(data, path), parts, comment + ", written by tools/makemeshes.py")
        print("%-28s %6d triangles, %d sub-meshes (%s)" % (path, faces, len(parts), ", ".join(p.name for p in parts)))
    shader_dir = os.path.join(data, "Shaders", "Meshes")
    os.makedirs(shader_dir, exist_ok=True)
    for name in textures(data):
        with open(os.path.join(shader_dir, name + ".shader"), "w") as f:
            f.write(SHADER % (name, name))
    with open(os.path.join(shader_dir, "lit.vert"), "w") as f:
        f.write(VERTEX_PROGRAM)
    with open(os.path.join(shader_dir, "lit.frag"), "w") as f:
        f.write(FRAGMENT_PROGRAM)


if __name__ == "__main__":
    main()
