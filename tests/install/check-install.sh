#!/usr/bin/env bash
# Installs a build into a scratch root as a package would (DESTDIR, prefix
# /usr) and checks the result: the program folder and its files, the links
# on the PATH, the manual page, the icons, the menu entry and the file types
# as the desktop tools read them, and that the installed programs find their
# files and the probe simulator from the folder they were installed in.
# Usage: check-install.sh BUILD_FOLDER SCRATCH_FOLDER
set -euo pipefail
build=$1
scratch=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
expect_equal() { # what expected actual
    [ "$3" = "$2" ] || fail "$1: expected '$2', got '$3'"
}

rm -rf "$scratch"
mkdir -p "$scratch"
root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$scratch/install.log"
usr=$root/usr
folder=$usr/lib/tessiq

echo "== program folder"
for file in tessiq tessiq-cli libprobe-sim.so libdorvane-core.so libtessiq-video.so \
    libtessiq-report.so libtessiq-cli-draw.so language.1 doc.templ doc-en.templ summary.templ \
    tcxmaster.hex grades.json help/index.html help/style.css help/zh/index.html help/en/index.html \
    help/zh/images/main-window.png help/en/images/main-window.png; do
    [ -f "$folder/$file" ] || fail "$folder/$file is missing"
done
for program in tessiq tessiq-cli; do
    [ -x "$folder/$program" ] || fail "$folder/$program is not executable"
done
# The build folder's run path must not survive into the installed files: the
# only one is the program folder itself.
for file in tessiq tessiq-cli libdorvane-core.so libtessiq-video.so libtessiq-report.so \
    libtessiq-cli-draw.so; do
    paths=$(readelf -d "$folder/$file" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
    [ -z "$paths" ] || [ "$paths" = '$ORIGIN' ] || fail "$folder/$file keeps a run path: $paths"
done

echo "== links on the PATH"
for program in tessiq tessiq-cli; do
    link=$usr/bin/$program
    [ -L "$link" ] || fail "$link is not a symbolic link"
    expect_equal "$link's target" "../lib/tessiq/$program" "$(readlink "$link")"
    expect_equal "$link resolved" "$folder/$program" "$(readlink -f "$link")"
done

echo "== manual page"
man_page=$usr/share/man/man1/tessiq-cli.1
[ -f "$man_page" ] || fail "$man_page is missing"
grep -q '^\.TH' "$man_page" || fail "$man_page has no .TH title line"

echo "== icons"
icons=$usr/share/icons/hicolor
xmllint --noout "$icons/scalable/apps/tessiq.svg" || fail "the SVG icon is not well-formed"
for size in 16 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/tessiq.png
    [ -f "$png" ] || fail "$png is missing"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    expect_equal "$png's signature" "137 80 78 71" "$(od -An -tu1 -N4 "$png" | xargs)"
    expect_equal "$png's width and height" "$size $size" \
        "$(od -An --endian=big -tu4 -j16 -N8 "$png" | xargs)"
done

echo "== menu entry"
desktop=$usr/share/applications/tessiq.desktop
[ -f "$desktop" ] || fail "$desktop is missing"
desktop-file-validate "$desktop" || fail "$desktop does not validate"
expect_equal "Exec" "Exec=tessiq %f" "$(grep '^Exec=' "$desktop")"
expect_equal "MimeType" "MimeType=application/x-tessiq-survey;application/x-tessiq-probe-image;" \
    "$(grep '^MimeType=' "$desktop")"
expect_equal "Icon" "Icon=tessiq" "$(grep '^Icon=' "$desktop")"
grep -q '^Categories=.*Science;' "$desktop" || fail "$desktop is not in the Science menu"

echo "== file types"
mime_xml=$usr/share/mime/packages/tessiq.xml
xmllint --noout "$mime_xml" || fail "$mime_xml is not well-formed"
glob_of() {
    xmllint --xpath "string(//*[local-name()='mime-type'][@type='$1']/*[local-name()='glob']/@pattern)" \
        "$mime_xml"
}
expect_equal "the survey's glob" "*.imv" "$(glob_of application/x-tessiq-survey)"
expect_equal "the probe image's glob" "*.img" "$(glob_of application/x-tessiq-probe-image)"
expect_equal "Chinese comments" 2 \
    "$(xmllint --xpath "count(//*[local-name()='comment'][@xml:lang='zh_CN'])" "$mime_xml")"

update-mime-database "$usr/share/mime"
update-desktop-database "$usr/share/applications" >"$scratch/desktop-database.log" 2>&1
# Only the scratch root's data, nobody's own settings, and xdg-mime's own
# generic lookup whatever desktop this runs under.
mkdir -p "$scratch/empty-data" "$scratch/empty-config" "$scratch/home" "$scratch/work"
desktop_tools() {
    env -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u MATE_DESKTOP_SESSION_ID \
        -u DESKTOP_SESSION -u XDG_MENU_PREFIX \
        HOME="$scratch/home" XDG_CURRENT_DESKTOP=X-Generic \
        XDG_DATA_DIRS="$usr/share" XDG_DATA_HOME="$scratch/empty-data" \
        XDG_CONFIG_HOME="$scratch/empty-config" XDG_CONFIG_DIRS="$scratch/empty-config" "$@"
}

echo "== installed programs"
cd "$scratch/work"
export QT_QPA_PLATFORM=offscreen
# The help needs no display: on a server without one it is printed all the same.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$usr/bin/tessiq" --help >tessiq-help.txt ||
    fail "the installed tessiq --help needs a display"
grep -q 'Usage: tessiq .*file' tessiq-help.txt || fail "tessiq --help does not name its file argument"
"$usr/bin/tessiq-cli" simulate -o s.Imv --frames 3 || fail "simulate failed"
"$usr/bin/tessiq-cli" info s.Imv >info.txt || fail "info failed"
grep -qx 'frames: 3' info.txt || fail "the simulated survey does not hold 3 frames: $(cat info.txt)"
"$usr/bin/tessiq-cli" record --simulate -o r.Imv --frames 1 ||
    fail "record --simulate did not find the simulator in the program folder"
"$usr/bin/tessiq-cli" info r.Imv >record-info.txt || fail "info on the recording failed"
grep -qx 'frames: 1' record-info.txt || fail "the recording does not hold one frame: $(cat record-info.txt)"
# The report is filled from doc.templ in the program folder; its 3D views
# need no display.
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/tessiq-cli" report s.Imv -o report.docx ||
    fail "report did not find its template in the program folder"
expect_equal "report.docx's first bytes" "80 75 3 4" "$(od -An -tu1 -N4 report.docx | xargs)"
# The same program alone in another folder finds neither: what the two runs
# above found came from the program folder.
mkdir lone
cp "$folder/tessiq-cli" lone/
if lone/tessiq-cli record --simulate -o lone.Imv --frames 1 2>lone.txt; then
    fail "a lone tessiq-cli found a probe simulator"
fi
if lone/tessiq-cli report s.Imv -o lone.docx 2>>lone.txt; then
    fail "a lone tessiq-cli found a report template"
fi
[ ! -e lone.docx ] || fail "a lone tessiq-cli left a report behind"

echo "== what the desktop makes of the files"
cp s.Imv lower.imv
cp s.Imv UPPER.IMV
printf 'IM' >probe.img
head -c 400 /dev/zero >>probe.img
printf 'plain words\n' >notes.txt
for file in s.Imv lower.imv UPPER.IMV; do
    expect_equal "$file's type" application/x-tessiq-survey \
        "$(desktop_tools xdg-mime query filetype "$file")"
done
expect_equal "probe.img's type" application/x-tessiq-probe-image \
    "$(desktop_tools xdg-mime query filetype probe.img)"
expect_equal "notes.txt's type" text/plain "$(desktop_tools xdg-mime query filetype notes.txt)"
for type in application/x-tessiq-survey application/x-tessiq-probe-image; do
    expect_equal "the default application for $type" tessiq.desktop \
        "$(desktop_tools xdg-mime query default "$type")"
done
expect_equal "the default application for text/plain" "" \
    "$(desktop_tools xdg-mime query default text/plain)"
echo "PASS"
