#!/usr/bin/env python3
"""Fails when a source file under src/ includes a header of a higher layer.

The order of the layers is in scripts/layers.txt (next to this script). Every
folder under src/ must be listed there; a folder that is not fails the check.
Prints one line per offending include and a summary; exit status 1 on any.

    scripts/checklayers.py [--root DIR] [--layers FILE]
"""

import argparse
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".inc"}


def read_layers(path):
    """Maps each folder (relative to src/, "." for src itself) to (rank, layer name)."""
    folders = {}
    rank = 0
    for number, line in enumerate(path.read_text().splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        name, sep, listed = line.partition(":")
        if not sep or not listed.split():
            sys.exit(f"{path}:{number}: expected 'layer: folder...'")
        for folder in listed.split():
            if folder in folders:
                sys.exit(f"{path}:{number}: folder {folder} is already in layer {folders[folder][1]}")
            folders[folder] = (rank, name.strip())
        rank += 1
    return folders


def folder_of(src, path):
    return path.parent.relative_to(src).as_posix()


def resolve(src, includer, name):
    """The file under src/ that an include names, or None for outside headers."""
    for base in (includer.parent, src):
        candidate = (base / name).resolve()
        if candidate.is_file() and src in candidate.parents:
            return candidate
    return None


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=Path, default=here.parent, help="repository root")
    parser.add_argument("--layers", type=Path, default=here / "layers.txt")
    args = parser.parse_args()

    src = (args.root / "src").resolve()
    layers = read_layers(args.layers)
    files = sorted(p for p in src.rglob("*") if p.suffix in SOURCE_SUFFIXES and p.is_file())

    unmapped = sorted({folder_of(src, p) for p in files} - layers.keys())
    for folder in unmapped:
        print(f"src/{folder}: folder has no layer in {args.layers.name}")

    edges = 0
    for path in files:
        rank, layer = layers.get(folder_of(src, path), (None, None))
        if rank is None:
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            target = match and resolve(src, path, match.group(1))
            if not target:
                continue
            target_rank, target_layer = layers.get(folder_of(src, target), (None, None))
            if target_rank is not None and target_rank > rank:
                edges += 1
                print(f"src/{path.relative_to(src)}:{number}: {layer} includes "
                      f"{match.group(1)} of the higher layer {target_layer}")

    if edges or unmapped:
        print(f"{edges} include(s) against the layer order, {len(unmapped)} folder(s) without a layer")
        return 1
    print(f"Layers hold: {len(files)} files, no include against the order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
