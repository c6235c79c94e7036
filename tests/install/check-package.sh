#!/usr/bin/env bash
# Builds the Debian package of a build folder with CPack into a scratch
# folder and checks what it holds and what it depends on: every shared
# library the installed programs and the simulator link against must come
# from a package the control file names.
# Usage: check-package.sh BUILD_FOLDER SCRATCH_FOLDER
set -euo pipefail
build=$1
scratch=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
(cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log") ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
debs=("$scratch"/tessiq_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tessiq_*.deb in $scratch"
deb=${debs[0]}

echo "== contents of $(basename "$deb")"
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//' >"$scratch/contents.txt"
for entry in ./usr/lib/tessiq/tessiq ./usr/lib/tessiq/tessiq-cli ./usr/lib/tessiq/libprobe-sim.so \
    ./usr/lib/tessiq/language.1 ./usr/lib/tessiq/doc.templ ./usr/lib/tessiq/doc-en.templ \
    ./usr/lib/tessiq/tcxmaster.hex ./usr/lib/tessiq/grades.json ./usr/lib/tessiq/help/index.html \
    ./usr/lib/tessiq/help/zh/index.html ./usr/lib/tessiq/help/en/images/main-window.png \
    "./usr/bin/tessiq -> ../lib/tessiq/tessiq" "./usr/bin/tessiq-cli -> ../lib/tessiq/tessiq-cli" \
    ./usr/share/applications/tessiq.desktop ./usr/share/mime/packages/tessiq.xml \
    ./usr/share/icons/hicolor/48x48/apps/tessiq.png ./usr/share/man/man1/tessiq-cli.1; do
    grep -qxF "$entry" "$scratch/contents.txt" || fail "the package lacks $entry"
done

echo "== control"
expect_field() { # field expected
    local value
    value=$(dpkg-deb -f "$deb" "$1")
    [ "$value" = "$2" ] || fail "$1: expected '$2', got '$value'"
}
expect_field Package tessiq
expect_field Architecture "$(dpkg --print-architecture)"
depends=$(dpkg-deb -f "$deb" Depends)
[ -n "$depends" ] || fail "the package names no dependencies"
echo "Depends: $depends"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
echo "$depends" | grep -qw fonts-wqy-microhei || fail "the Chinese font is not a dependency"
dpkg-deb -f "$deb" Recommends | grep -qw libreoffice-writer-nogui ||
    fail "LibreOffice, which writes .doc and .pdf reports, is not recommended"
# The names alone, without versions or alternatives' bars.
names=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | tr '\n' ' ') "

echo "== every library the programs link against is a dependency"
dpkg-deb -x "$deb" "$scratch/root"
owner_of() { # a library's path as ldd prints it; dpkg knows one of its spellings
    local path=$1 candidate owner
    for candidate in "$path" "$(readlink -f "$path")" "${path#/usr}" "/usr$path"; do
        owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1) || true
        if [ -n "$owner" ]; then
            echo "$owner"
            return 0
        fi
    done
    return 1
}
# Where the libraries an ELF file names itself (NEEDED) are found; the
# libraries those load are their own packages' dependencies.
direct_libraries() {
    local needed
    needed=" $(readelf -d "$1" | awk '/\(NEEDED\)/ { gsub(/[][]/, "", $5); print $5 }' | tr '\n' ' ') "
    ldd "$1" | awk -v needed="$needed" \
        '$2 == "=>" && $3 ~ /^\// && index(needed, " " $1 " ") { print $3 }'
}
for elf in tessiq tessiq-cli libprobe-sim.so libdorvane-core.so libtessiq-video.so \
    libtessiq-report.so libtessiq-cli-draw.so; do
    while read -r library; do
        # The program's own core comes with the package.
        case "$library" in "$scratch/root/usr/lib/tessiq/"*) continue ;; esac
        package=$(owner_of "$library") || fail "no package owns $library, which $elf loads"
        case "$names" in
        *" $package "*) ;;
        *) fail "$elf loads $library from $package, which Depends does not name" ;;
        esac
    done < <(direct_libraries "$scratch/root/usr/lib/tessiq/$elf")
done
echo "PASS"
