#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer (or of a sibling it must not see).

Folders of src/ are layers, top to bottom: app, ui, actions, {device, skin}, {config, macros}, core,
platform. A file may include its own folder's headers and those of any folder below it; folders of
one rank stand side by side and do not include each other. The skin paints the configuration and
the macros' names, so it stands above them.
"""
import pathlib
import re
import sys

RANK = {"platform": 0, "core": 1, "config": 2, "macros": 2, "skin": 3, "device": 3, "actions": 4, "ui": 5, "app": 6}
# Headers outside src/ that a layer may include: the resource ids are the Windows views' alone.
OUTSIDE = {"resource.h": {"app", "ui"}, "version.h": {"app"}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def violations(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        layer = path.relative_to(src).parts[0]
        if layer not in RANK:
            yield f"{path}: folder '{layer}' is not a known layer"
            continue
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            parts = target.split("/")
            if len(parts) == 1:
                if target in OUTSIDE and layer not in OUTSIDE[target]:
                    yield f"{path}: includes {target}, which only {sorted(OUTSIDE[target])} may"
                continue
            other = parts[0]
            if other not in RANK:
                yield f"{path}: includes {target} from outside the layers"
            elif other != layer and RANK[other] >= RANK[layer]:
                yield f"{path}: {layer}/ includes {target}, which is not below it"


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    found = list(violations(src))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) point up or sideways; move the code down or the include up.")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
