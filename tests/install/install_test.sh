#!/bin/sh
# install_test.sh BUILD_DIR CMAKE: installs BUILD_DIR into a fresh prefix and checks the
# files a desktop needs, then starts the installed program over a private home and ends
# it as a logout does.
set -u
build=$1
cmake=$2
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    echo "FAIL: cmake --install"
    exit 1
}

[ -x "$prefix/bin/vilo" ] || fail "bin/vilo is missing or not executable"

entry=$prefix/share/applications/vilo.desktop
if [ -f "$entry" ]; then
    for line in "Type=Application" "Name=Vilo" "Exec=vilo" "Icon=vilo" "Terminal=false"; do
        grep -qx "$line" "$entry" || fail "vilo.desktop has no line '$line'"
    done
    for key in "Comment" "Comment\[sv\]" "Categories"; do
        grep -q "^$key=." "$entry" || fail "vilo.desktop has no $key"
    done
    grep -q "^Categories=.*Science;" "$entry" || fail "vilo.desktop is not in Science"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail "desktop-file-validate refuses vilo.desktop"
    else
        fail "desktop-file-validate is not installed (package desktop-file-utils)"
    fi
else
    fail "share/applications/vilo.desktop is missing"
fi

icons=$prefix/share/icons/hicolor
svg=$icons/scalable/apps/vilo.svg
if [ -f "$svg" ]; then
    grep -q "<svg" "$svg" || fail "vilo.svg holds no SVG"
else
    fail "the scalable icon is missing"
fi
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 48 256; do
    png=$icons/${size}x${size}/apps/vilo.png
    if [ ! -f "$png" ]; then
        fail "the $size px icon is missing"
        continue
    fi
    magic=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [ "$magic" = "89504e470d0a1a0a" ] || fail "$png is not a PNG"
    width=$(od -An -tu4 --endian=big -j16 -N4 "$png" | tr -d ' ')
    height=$(od -An -tu4 --endian=big -j20 -N4 "$png" | tr -d ' ')
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x$height, not ${size}x$size"
done

# The installed program starts (its libraries found without the build tree), seeds a
# private home and ends cleanly on SIGTERM once it watches for it.
if [ -x "$prefix/bin/vilo" ]; then
    cd "$work" || exit 1
    XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/vilo" >"$work/run.log" 2>&1 &
    pid=$!
    watching=""
    tries=0
    while [ $tries -lt 600 ] && kill -0 "$pid" 2>/dev/null; do
        # Bit 15 of the caught-signal mask: the SIGTERM handler is in place.
        caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$pid/status" 2>/dev/null)
        if [ -n "$caught" ] && [ $((0x$caught & 0x4000)) -ne 0 ]; then
            watching=yes
            break
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
    if [ -z "$watching" ]; then
        fail "the installed program did not come up"
        cat "$work/run.log"
    else
        kill -TERM "$pid"
        wait "$pid"
        status=$?
        pid=""
        [ $status -eq 0 ] || { fail "the installed program ended with status $status"; cat "$work/run.log"; }
        seeded=$(ls "$work/data/Vilo/vilo/tables" 2>/dev/null | wc -l)
        [ "$seeded" -eq 10 ] || fail "the installed program seeded $seeded table files, not 10"
    fi
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed layout and start-up are right"
