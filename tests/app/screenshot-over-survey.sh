#!/usr/bin/env bash
# tessiq --screenshot never writes its picture over the survey it opens,
# by the survey's own name or through a link to it.
set -u
tessiq=$1 cli=$2
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$cli" simulate -o "$work/s.Imv" --frames 3 || exit 1
ln -s s.Imv "$work/link.Imv"
before=$(sha256sum <"$work/s.Imv")
for shot in "$work/s.Imv" "$work/link.Imv"; do
    QT_QPA_PLATFORM=offscreen timeout 60 "$tessiq" "$work/s.Imv" --screenshot "$shot" 2>"$work/err"
    status=$?
    [ "$status" -eq 2 ] || { echo "exit $status for $shot" >&2; exit 1; }
    grep -q "would replace the survey" "$work/err" || { cat "$work/err" >&2; exit 1; }
    [ "$(sha256sum <"$work/s.Imv")" = "$before" ] || { echo "survey changed" >&2; exit 1; }
    [ -L "$work/link.Imv" ] || { echo "link replaced" >&2; exit 1; }
done
