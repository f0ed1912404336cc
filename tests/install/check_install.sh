#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary root (DESTDIR, prefix /usr) and checks the tree as a
# desktop and a packager see it; then starts the installed r718 --simulator and ends it.
#   check_install.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill -KILL "$sim_pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1 ||
    { cat "$root/install.log"; echo "FAIL: cmake --install"; exit 1; }
usr="$root/dest/usr"
id=pl.modrex.Tevano718

# The programs where they belong, and no other executable (tests, benchmarks, fuzzers, tools).
expected=$(printf '%s\n' bin/r718 bin/r718-report bin/r718-run libexec/r718/r718-sim)
found=$(cd "$usr" && find . -type f -perm -u+x | sed 's|^\./||' | sort)
[ "$found" = "$expected" ] || fail "installed executables: $(echo $found), expected: $(echo $expected)"

# Desktop entry and AppStream metadata, each with its validator, and the metadata against the
# installed tree (launchable desktop entry, icons).
desktop="$usr/share/applications/$id.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
metainfo="$usr/share/metainfo/$id.metainfo.xml"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
out=$(appstreamcli validate-tree --no-net "$root/dest" 2>&1) || fail "appstreamcli validate-tree: $out"
grep -qx 'Exec=r718 %f' "$desktop" || fail "desktop entry: Exec is not 'r718 %f'"
# The actions "Symulator" (the program on the simulated calibrator, for trying it without an
# instrument; the installed program is started below with its command line) and "Historia" (the
# history window alone, without the port).
action() { awk -v group="[Desktop Action $1]" -v key="$2" '/^\[/ { in_group = $0 == group }
    in_group && index($0, key "=") == 1 { print substr($0, length(key) + 2) }' "$desktop"; }
grep -qx 'Actions=Symulator;Historia;' "$desktop" || fail "desktop entry: not the actions Symulator and Historia"
[ "$(action Symulator 'Name[pl]')" = Symulator ] || fail "desktop entry: the action is not named Symulator"
read -r -a simulator_command <<<"$(action Symulator Exec)"
[ "${simulator_command[0]:-}" = r718 ] || fail "desktop entry: the action does not start r718"
[ "$(action Historia 'Name[pl]')" = "Historia sprawdzeń" ] || fail "desktop entry: no action Historia sprawdzeń"
[ "$(action Historia Exec)" = "r718 --history" ] || fail "desktop entry: the action Historia does not start r718 --history"

# The .met and .r718t file types: well formed, accepted by update-mime-database, each a type
# the desktop entry opens, named in English and Polish.
mime_xml="$usr/share/mime/packages/$id.xml"
xmllint --noout "$mime_xml" || fail "xmllint $mime_xml"
mkdir -p "$root/mime/packages" && cp "$mime_xml" "$root/mime/packages/"
out=$(XDG_DATA_HOME="$root" update-mime-database "$root/mime" 2>&1) && [ -z "$out" ] || fail "update-mime-database: $out"
for extension in met r718t; do
    type=$(sed -n "s|.*:\\(application/[^:]*\\):\\*\\.$extension\$|\\1|p" "$root/mime/globs2")
    [ -n "$type" ] || fail "no MIME type for *.$extension"
    grep -q "^MimeType=.*\\b$type;" "$desktop" || fail "desktop entry does not open $type"
    for lang in '' 'xml:lang="pl"'; do
        grep -q "<comment${lang:+ $lang}>" "$root/mime/$type.xml" ||
            fail "no ${lang:-English} comment on $type"
    done
done

# Every icon size, each PNG of its size, and the scalable drawing.
for size in 16 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "icon ${size}x${size}: $(file -b "$icon" 2>&1)"
done
xmllint --noout "$usr/share/icons/hicolor/scalable/apps/$id.svg" || fail "scalable icon"

# The lab's server set-up script and the administrator's guide.
[ -f "$usr/share/r718/r718-lab-setup.sql" ] || fail "no lab set-up script"
[ -f "$usr/share/doc/tevano718/ADMIN.md" ] || fail "no administrator's guide"

# The manual pages render without a warning.
for page in r718 r718-report r718-run r718-sim; do
    man_file="$usr/share/man/man1/$page.1.gz"
    [ -f "$man_file" ] || { fail "no manual page $page(1)"; continue; }
    out=$(MANWIDTH=80 man --warnings -l "$man_file" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man $page: $out"
    MANWIDTH=80 man -l "$man_file" 2>/dev/null | grep -q "^EXIT STATUS" ||
        fail "man $page: no EXIT STATUS"
done

# The example documents, each one the installed r718-run reads (a missing device is its only
# complaint: exit 1 after the port, not before).
for example in transmitter-tc-k-0-500.r718t ramp-4-20mA.r718p; do
    file="$usr/share/doc/tevano718/examples/$example"
    [ -f "$file" ] || { fail "no example $example"; continue; }
    command=transducer
    [ "${example##*.}" = r718p ] && command=program
    out=$("$usr/bin/r718-run" "$command" "$file" --device "$root/no-such-device" 2>&1)
    echo "$out" | grep -q "portu" || fail "r718-run on $example: $out"
done

# The installed r718, started as the action "Symulator" starts it (r718 --simulator), starts the
# installed simulator and leaves nothing behind.
mkdir -p "$root/config" "$root/run" && chmod 700 "$root/run"
env -u R718_SIM -u R718_COM1 -u R718_COM2 -u R718_COM3 -u R718_COM4 \
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$root/config" XDG_RUNTIME_DIR="$root/run" \
    "$usr/bin/r718" "${simulator_command[@]:1}" &
pid=$!
sim_exe=$(readlink -f "$usr/libexec/r718/r718-sim")
line="$root/run/r718-line-$pid"
for _ in $(seq 100); do
    for child in $(cat /proc/$pid/task/*/children 2>/dev/null); do
        [ "$(readlink -f /proc/$child/exe 2>/dev/null)" = "$sim_exe" ] && sim_pid=$child
    done
    [ -n "$sim_pid" ] && [ -L "$line" ] && break
    sleep 0.1
done
if [ -z "$sim_pid" ] || [ ! -L "$line" ]; then
    fail "the installed ${simulator_command[*]} did not start $sim_exe (child ${sim_pid:-none})"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
else
    sleep 0.5 # through its start
    kill -TERM "$pid"
    wait "$pid"
    status=$?
    # Ended by SIGTERM (143) or, had it a handler, normally; anything else is a crash.
    [ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "r718 ended with status $status"
    for _ in $(seq 30); do
        [ -d "/proc/$sim_pid" ] && [ "$(awk '{print $3}' /proc/$sim_pid/stat 2>/dev/null)" != Z ] ||
            break
        sleep 0.1
    done
    if [ -d "/proc/$sim_pid" ] && [ "$(awk '{print $3}' /proc/$sim_pid/stat)" != Z ]; then
        fail "r718-sim ($sim_pid) outlived r718"
    else
        sim_pid=
    fi
    [ ! -e "$line" ] && [ ! -L "$line" ] || fail "the simulator's line $line was left behind"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed tree: all checks passed"
