# shellcheck shell=bash
# Shared by scripts/run.sh, scripts/e2e.sh and the bench/ scripts: a private X display, a Wine
# prefix, its wineserver and a program, each started here and stopped here by the id it was
# started with.
# Source it; then call session_stop from an EXIT trap.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

session_xvfb_pid=""
session_wineserver_pid=""
session_program_pid=""

session_say() { printf '%s\n' "$*" >&2; }

# The 64-bit loader itself, so that Debian's wrapper does not warn about a missing wine32.
session_wine_binary() {
    if [ -x /usr/lib/wine/wine64 ]; then
        echo /usr/lib/wine/wine64
    elif command -v wine64 >/dev/null; then
        command -v wine64
    else
        command -v wine
    fi
}

session_wine() { "$(session_wine_binary)" "$@"; }

# Starts a Windows program in the background, its output into a file. The loader is started
# directly, not through a shell function (whose background copy would be a subshell), so that
# session_program_pid is the program's own process.
session_start_program() {
    local output=$1
    shift
    "$(session_wine_binary)" "$@" >"$output" 2>&1 &
    session_program_pid=$!
}

session_stop_program() {
    if [ -n "$session_program_pid" ]; then
        kill "$session_program_pid" 2>/dev/null || true
        wait "$session_program_pid" 2>/dev/null || true
        session_program_pid=""
    fi
}

# A Unix path as Wine's Windows programs see it.
session_windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

# Polls a command until it succeeds; fails after timeout seconds.
session_wait_for() {
    local timeout=$1
    shift
    local deadline=$((SECONDS + timeout))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.1
    done
}

# Starts a private Xvfb on a free display number and exports DISPLAY.
session_start_xvfb() {
    local number_file
    number_file=$(mktemp)
    env -u WINEPREFIX Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" \
        >/dev/null 2>&1 &
    session_xvfb_pid=$!
    if ! session_wait_for 30 test -s "$number_file"; then
        rm -f "$number_file"
        session_say "Xvfb did not start"
        return 1
    fi
    DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    export DISPLAY
    rm -f "$number_file"
    session_say "private Xvfb on display $DISPLAY (pid $session_xvfb_pid)"
}

# Plain US keyboard map: Xvfb's default one has '(' and ')' where Wine cannot type them.
session_load_us_keymap() {
    setxkbmap -display "$DISPLAY" -layout us -model pc104 >/dev/null 2>&1 ||
        session_say "warning: setxkbmap failed; punctuation keys may not be typable"
}

# Starts a persistent wineserver for WINEPREFIX, after ending a stale one of the same prefix.
session_start_wineserver() {
    mkdir -p "$WINEPREFIX"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -f -p >/dev/null 2>&1 &
    session_wineserver_pid=$!
    # The server is up once a client can reach it.
    if ! session_wait_for 30 wineserver_answers; then
        session_say "wineserver did not start for $WINEPREFIX"
        return 1
    fi
}

# Wine names the server's socket folder by the prefix's device and inode numbers, under
# /tmp/.wine-<uid> or a private /tmp/wine-* folder.
wineserver_answers() {
    local server socket
    server="server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
    kill -0 "$session_wineserver_pid" 2>/dev/null || return 1
    for socket in /tmp/.wine-"$(id -u)"/"$server"/socket /tmp/wine-*/"$server"/socket; do
        [ -S "$socket" ] && return 0
    done
    return 1
}

# Ends the wineserver of WINEPREFIX (and every Wine process of that prefix) and waits for it.
session_stop_wineserver() {
    if [ -n "$session_wineserver_pid" ]; then
        wineserver -k >/dev/null 2>&1 || true
        if ! session_wait_for 20 session_gone "$session_wineserver_pid"; then
            kill -KILL "$session_wineserver_pid" 2>/dev/null || true
        fi
        wait "$session_wineserver_pid" 2>/dev/null || true
        session_wineserver_pid=""
        session_stop_prefix_leftovers
    fi
}

# PIDs of Wine's own processes (loader, server, services) whose environment names this prefix.
session_prefix_pids() {
    local process
    for process in /proc/[0-9]*; do
        case $(readlink "$process/exe" 2>/dev/null) in
            /usr/lib/wine/* | */wine64-preloader | */wine-preloader | */wine64 | */wine) ;;
            *) continue ;;
        esac
        if { tr '\0' '\n' <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null; then
            echo "${process#/proc/}"
        fi
    done
}

# Wine processes of this prefix that outlived their server (it was killed from outside).
session_stop_prefix_leftovers() {
    local pid
    for pid in $(session_prefix_pids); do
        kill -KILL "$pid" 2>/dev/null || true
    done
}

session_gone() { ! kill -0 "$1" 2>/dev/null; }

# Sets a registry value of the prefix (the wineserver must be running).
session_registry_set() {
    local key=$1 name=$2 type=$3 data=$4
    session_wine reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
}

# Wine draws the caption buttons (close box, arrows) as glyphs of its Marlett font. Debian's
# fonts-wine puts the font in Wine's data folder, where this Wine does not look, so a prefix shows
# the letter "r" for the close box; a copy in the prefix's Fonts folder gives the cross.
session_install_caption_font() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts font
    for font in /usr/share/wine/fonts/marlett.ttf /usr/local/share/wine/fonts/marlett.ttf; do
        if [ -f "$font" ]; then
            [ -f "$fonts/marlett.ttf" ] || { mkdir -p "$fonts" && cp "$font" "$fonts/"; }
            return 0
        fi
    done
    session_say "warning: no marlett.ttf (package fonts-wine); caption buttons show letters"
}

# Creates the prefix on first use and sets whether a window manager handles its windows ("Y")
# or not ("N": without one, Wine stalls whenever a managed window hides).
session_prepare_prefix() {
    local managed=$1
    if [ ! -f "$WINEPREFIX/.update-timestamp" ]; then
        session_say "creating the Wine prefix $WINEPREFIX (once)"
        session_wine wineboot -i >/dev/null 2>&1
    fi
    session_install_caption_font
    session_registry_set 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ "$managed"
}

session_set_dpi() {
    session_registry_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$1"
}

session_stop() {
    session_stop_program
    session_stop_wineserver
    if [ -n "$session_xvfb_pid" ]; then
        kill "$session_xvfb_pid" 2>/dev/null || true
        wait "$session_xvfb_pid" 2>/dev/null || true
        session_xvfb_pid=""
    fi
}
