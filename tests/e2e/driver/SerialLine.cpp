// COM ports of the Wine prefix made of pseudo-terminals: socat holds the terminal and copies what
// the program writes to the port into a file; stty presets and reads the line settings; a small
// python3 program notes every opening of the terminal. The port is a link in the prefix's
// dosdevices folder. socat and the watcher are stopped by the PIDs they left in *.pid, by
// CloseSerialLine or, when the test was cut short, by scripts/e2e.sh (see RunFolder).
#include <algorithm>
#include <cctype>

#include "Driver.h"

namespace e2e {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

std::string PortLink(const SerialLine& line) {
    return "${WINEPREFIX:-$HOME/.wine}/dosdevices/" + Lower(line.port);
}

}  // namespace

bool OpenSerialLine(std::string_view port, std::string_view sttyPreset, SerialLine& line) {
    line.port = std::string(port);
    line.folder = RunFolder() + "/serial-" + Lower(port);
    line.terminal = line.folder + "/terminal";
    const std::string& d = line.folder;
    // socat copies what the program writes into the capture and what the test writes into the
    // answer FIFO to the program; a holder keeps the FIFO open so that socat never reads its end.
    const std::string script =
        "mkdir -p " + d + " && rm -f " + d + "/terminal " + d + "/capture " + d + "/socat.pid " +
        d + "/answer && mkfifo " + d + "/answer && { sleep 900 <>" + d + "/answer & echo $! >" + d +
        "/holder.pid; } && " + "{ socat pty,raw,echo=0,link=" + d + "/terminal OPEN:" + d +
        "/answer,rdonly!!OPEN:" + d + "/capture,creat,append >" + d +
        "/socat.log 2>&1 & echo $! >" + d + "/socat.pid; } && i=0 && " + "while [ ! -e " + d +
        "/terminal ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done; " + "[ -e " + d +
        "/terminal ] && stty -F " + d + "/terminal " + std::string(sttyPreset) +
        " && ln -sfn $(readlink -f " + d + "/terminal) " + PortLink(line);
    const int code = RunShell(script, 20000);
    if (code != 0) {
        Note("serial line for " + line.port + " not made (sh exit code " + std::to_string(code) +
             "); socat said: " + ReadWholeFile(WindowsPathOf(d + "/socat.log")));
    }
    return code == 0;
}

void CloseSerialLine(const SerialLine& line) {
    const std::string& d = line.folder;
    RunShell("for p in socat holder watch; do [ -s " + d + "/$p.pid ] && kill $(cat " + d +
             "/$p.pid); done; rm -f " + PortLink(line) + " " + d + "/socat.pid " + d +
             "/holder.pid " + d + "/watch.pid");
}

bool WatchSerialOpens(const SerialLine& line) {
    // inotify's IN_OPEN (32) on the terminal; a line "open" per event read into the file "opens".
    static constexpr char kWatcher[] =
        "import ctypes, os, sys\nlibc = ctypes.CDLL(None)\nfd = libc.inotify_init()\n"
        "libc.inotify_add_watch(fd, os.path.realpath(sys.argv[1]).encode(), 32)\n"
        "out = open(sys.argv[2], 'a')\nout.write('watching\\n')\nout.flush()\nwhile True:\n"
        "    out.write('open\\n' * (len(os.read(fd, 4096)) // 16))\n    out.flush()\n";
    const std::string& d = line.folder;
    const std::string opens = WindowsPathOf(d + "/opens");
    if (!WriteWholeFile(WindowsPathOf(d + "/watch.py"), kWatcher) || !WriteWholeFile(opens, "") ||
        !StartShell("/usr/bin/python3 " + d + "/watch.py " + line.terminal + " " + d +
                    "/opens </dev/null >/dev/null 2>&1 & echo $! >" + d + "/watch.pid")) {
        return false;
    }
    return WaitUntil([&] { return ReadWholeFile(opens).starts_with("watching"); });
}

int SerialOpens(const SerialLine& line) {
    const std::string opens = ReadWholeFile(WindowsPathOf(line.folder + "/opens"));
    return std::max(0, static_cast<int>(std::count(opens.begin(), opens.end(), '\n')) - 1);
}

bool SerialAnswer(const SerialLine& line, std::string_view bytes) {
    return RunShell("printf " + std::string(bytes) + " >" + line.folder + "/answer") == 0;
}

std::string SerialBytes(const SerialLine& line) {
    return ReadWholeFile(WindowsPathOf(line.folder + "/capture"));
}

std::string SerialSettings(const SerialLine& line) {
    const std::string& d = line.folder;
    RunShell("stty -a -F " + d + "/terminal >" + d + "/settings 2>&1");
    return ReadWholeFile(WindowsPathOf(d + "/settings"));
}

}  // namespace e2e
