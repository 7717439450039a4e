#!/usr/bin/env python3
"""Refuses includes and calls that run against the layers of the program.

The folders are layers, from the bottom: platform, steps, Forms, editor, player, Quorvane.

Includes (read from the sources):
- a file includes only headers of its own folder and of folders below it;
- the platform implementations (platform/win32, platform/headless) include only platform headers,
  and steps/ only platform/files.h and platform/system.h;
- Windows SDK headers (WINDOWS_HEADERS) are included only in platform/win32;
- an include names its header from the source root: "../x.h" and "./x.h" are refused;
- headers do not include each other in a cycle.

Calls (read from the built libraries of the native build, built first when out of date): each
layer's library is linked with every one of its objects forced in, together with the libraries
of the layers below it only, into a small program. A symbol that only a higher layer defines is
then undefined and fails that link.

usage: check-layers.py [source root, default .] [--build FOLDER, default <root>/build/native]
Prints each fault as "file:line: ..." (or the linker's words) and exits with 1 when there is one.
"""

import concurrent.futures
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

LAYERS = ["platform", "steps", "Forms", "editor", "player", "Quorvane"]
# steps/ is pure: no window, control, menu or box, only files and the user, time and clock.
STEPS_PLATFORM_HEADERS = {"platform/files.h", "platform/system.h"}
# Headers of the Windows SDK (compared in lower case): only platform/win32 may include them.
WINDOWS_HEADERS = {
    "windows.h", "windowsx.h", "winbase.h", "windef.h", "winuser.h", "wingdi.h", "winnt.h",
    "winnls.h", "wincon.h", "winreg.h", "winver.h", "winerror.h", "winioctl.h", "winsvc.h",
    "winsock.h", "winsock2.h", "ws2tcpip.h", "winternl.h", "ntstatus.h", "fileapi.h",
    "handleapi.h", "processthreadsapi.h", "synchapi.h", "sysinfoapi.h", "memoryapi.h",
    "libloaderapi.h", "errhandlingapi.h", "commctrl.h", "commdlg.h", "cderr.h", "dlgs.h",
    "richedit.h", "shellapi.h", "shlobj.h", "shlwapi.h", "shtypes.h", "knownfolders.h",
    "objbase.h", "combaseapi.h", "ole2.h", "oleauto.h", "olectl.h", "unknwn.h", "propkey.h",
    "mmsystem.h", "timeapi.h", "lmcons.h", "tlhelp32.h", "psapi.h", "dbghelp.h", "setupapi.h",
    "dbt.h", "imm.h", "uxtheme.h", "dwmapi.h", "shellscalingapi.h", "versionhelpers.h",
    "userenv.h", "wtsapi32.h", "strsafe.h", "tchar.h", "hidusage.h", "intshcut.h", "wincodec.h",
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(path):
    first = path.parts[0] if path.parts else ""
    return LAYERS.index(first) if first in LAYERS else None


def include_faults(relative, own, number, bracket, name):
    """The faults of one include line of the file `relative` in layer `own`."""
    included = pathlib.PurePosixPath(name)
    where = f"{relative.as_posix()}:{number}: includes {name}"
    in_win32 = relative.parts[:2] == ("platform", "win32")
    if included.name.lower() in WINDOWS_HEADERS and not in_win32:
        return [f"{where}: only platform/win32/ includes the Windows headers"]
    if bracket == "<":
        return []
    if any(part in (".", "..") for part in included.parts):
        return [f"{where}: name the header from the source root (no ./ or ../)"]
    target = layer_of(included)
    if target is None:
        return []
    if target > own:
        return [f"{where}: {LAYERS[own]}/ may not include {LAYERS[target]}/ "
                f"(layers from the bottom: {' -> '.join(LAYERS)})"]
    if own == 1 and target == 0 and name not in STEPS_PLATFORM_HEADERS:
        return [f"{where}: steps/ uses only {', '.join(sorted(STEPS_PLATFORM_HEADERS))}"]
    if own == 0 and len(relative.parts) > 2 and (
            len(included.parts) > 2 and included.parts[1] != relative.parts[1]):
        return [f"{where}: a platform implementation includes only platform headers and its "
                f"own files"]
    return []


def check_includes(root):
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
                bracket, name = match.groups()
                faults += include_faults(relative, own, number, bracket, name)
                if bracket == '"' and layer_of(pathlib.PurePosixPath(name)) is not None:
                    graph[relative.as_posix()].append(name)
    return faults + include_cycles(graph), len(graph)


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


def library(build, layer):
    return build / f"libquorvane_{layer.lower()}.a"


def check_links(build):
    """Links each layer's whole library with only the layers below it; the faults found."""
    targets = [f"quorvane_{layer.lower()}" for layer in LAYERS]
    built = subprocess.run(["cmake", "--build", str(build), "-j2", "--target", *targets],
                           capture_output=True, text=True)
    if built.returncode != 0:
        return [f"link check: building the layer libraries in {build} failed:\n"
                f"{built.stdout[-3000:]}{built.stderr[-3000:]}"]
    compiler = shutil.which("c++") or shutil.which("g++")
    with tempfile.TemporaryDirectory() as folder:
        source = pathlib.Path(folder) / "main.c"
        source.write_text("int main(void) { return 0; }\n")
        stub = pathlib.Path(folder) / "main.o"
        subprocess.run([compiler, "-x", "c", "-c", str(source), "-o", str(stub)], check=True)

        def link(index):
            layer = LAYERS[index]
            below = [str(library(build, lower)) for lower in reversed(LAYERS[:index])]
            command = [compiler, str(stub), "-o", str(pathlib.Path(folder) / f"check-{layer}"),
                       "-Wl,--no-undefined", "-Wl,--whole-archive", str(library(build, layer)),
                       "-Wl,--no-whole-archive", *below, "-pthread"]
            linked = subprocess.run(command, capture_output=True, text=True)
            if linked.returncode == 0:
                return None
            undefined = sorted(set(re.findall(r"undefined reference to `([^']+)'", linked.stderr)))
            return (f"{layer}/ calls up (defined only in a higher layer): "
                    f"{'; '.join(undefined) or linked.stderr.strip()[-2000:]}")

        # Two links at a time: the machine's cores are shared.
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            return [fault for fault in pool.map(link, range(len(LAYERS))) if fault]


def main():
    arguments = sys.argv[1:]
    build = None
    if "--build" in arguments:
        at = arguments.index("--build")
        build = pathlib.Path(arguments[at + 1]).resolve()
        del arguments[at:at + 2]
    root = pathlib.Path(arguments[0] if arguments else ".").resolve()
    build = build or root / "build" / "native"
    faults, files = check_includes(root)
    if not (build / "build.ninja").exists() and not (build / "Makefile").exists():
        faults.append(f"link check: no configured native build in {build} "
                      f"(cmake --preset native, or --build FOLDER)")
    else:
        faults += check_links(build)
    for fault in faults:
        print(fault)
    if faults:
        print(f"layer check: {len(faults)} fault(s)")
        return 1
    print(f"layer check: {files} files, every include runs downward, no cycle; "
          f"each layer's library links with only the layers below it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
