#!/usr/bin/env python3
"""Refuses includes that run against the layers of the program.

The folders are layers, from the bottom: platform, steps, Forms, editor, player, Quorvane. A file
includes only headers of its own folder and of folders below it; the platform implementations
(platform/win32, platform/headless) include only platform headers, and steps/ only the platform's
files and system headers. Every file-level include cycle
among the program's headers is refused as well. Prints each fault as "file:line: ..." and exits
with 1 when there is one.
"""

import pathlib
import re
import sys

LAYERS = ["platform", "steps", "Forms", "editor", "player", "Quorvane"]
# steps/ is pure: no window, control, menu or box, only files and the user, time and clock.
STEPS_PLATFORM_HEADERS = {"platform/files.h", "platform/system.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of(path):
    first = path.parts[0]
    return LAYERS.index(first) if first in LAYERS else None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    graph = {}
    for layer in LAYERS:
        for source in sorted((root / layer).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            relative = source.relative_to(root)
            own = layer_of(relative)
            graph[relative.as_posix()] = []
            for number, text in enumerate(source.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                included = pathlib.PurePosixPath(match.group(1))
                target = layer_of(included)
                if target is None:
                    continue
                graph[relative.as_posix()].append(included.as_posix())
                where = f"{relative.as_posix()}:{number}: includes {included}"
                if target > own:
                    faults.append(f"{where}: {LAYERS[own]}/ may not include {LAYERS[target]}/ "
                                  f"(layers from the bottom: {' -> '.join(LAYERS)})")
                elif own == 1 and target == 0 and included.as_posix() not in STEPS_PLATFORM_HEADERS:
                    faults.append(f"{where}: steps/ uses only {', '.join(sorted(STEPS_PLATFORM_HEADERS))}")
                elif own == 0 and len(relative.parts) > 2 and (
                        len(included.parts) > 2 and included.parts[1] != relative.parts[1]):
                    faults.append(f"{where}: a platform implementation includes only platform "
                                  f"headers and its own files")
    faults += include_cycles(graph)
    for fault in faults:
        print(fault)
    if faults:
        print(f"layer check: {len(faults)} fault(s)")
        return 1
    print(f"layer check: {len(graph)} files, every include runs downward, no cycle")
    return 0


def include_cycles(graph):
    faults = []
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for target in graph.get(node, []):
            if state.get(target) == "open":
                cycle = trail[trail.index(target):] + [target] if target in trail else [node, target]
                faults.append(f"{node}: include cycle: {' -> '.join(cycle)}")
            elif target in graph and target not in state:
                visit(target, trail + [target])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])
    return faults


if __name__ == "__main__":
    sys.exit(main())
