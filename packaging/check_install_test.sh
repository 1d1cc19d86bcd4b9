#!/usr/bin/env bash
# The install checker must notice each way an installed tree can be broken: every case
# below spoils a copy of a good install and expects check_install.sh to refuse it, naming
# the fault.
#   check_install_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1
work=$2
id=example.zanfir.Travoli
rm -rf "$work"
mkdir -p "$work"

"$here/check_install.sh" --install "$build" "$work/good" >/dev/null ||
    { echo "check_install_test: the unbroken install is refused" >&2; exit 1; }
good=$work/good/root
apps=usr/share/applications/$id.desktop
meta=usr/share/metainfo/$id.metainfo.xml
icons=usr/share/icons/hicolor

# expected message | command that spoils the tree (run inside the copy)
cases=(
    "missing icon 48x48/apps/$id.png|rm $icons/48x48/apps/$id.png"
    "64x64/apps/$id.png is PNG 16x16, not PNG 64x64|cp $icons/16x16/apps/$id.png $icons/64x64/apps/$id.png"
    "128x128/apps/$id.png is not a readable picture|echo text >$icons/128x128/apps/$id.png"
    "missing icon scalable/apps/$id.svg|rm $icons/scalable/apps/$id.svg"
    "the desktop entry's icon is 'travoli'|sed -i 's/^Icon=.*/Icon=travoli/' $apps"
    "starts 'travoli-game', not the installed /usr/games/travoli|sed -i 's/^Exec=.*/Exec=travoli-game/' $apps"
    "starts '/usr/bin/travoli', not the installed /usr/games/travoli|sed -i 's|^Exec=.*|Exec=/usr/bin/travoli|' $apps"
    "desktop-file-validate rejects|sed -i 's/^Type=.*/Type=Game/' $apps"
    "not in the categories Game and LogicGame|sed -i 's/^Categories=.*/Categories=Game;/' $apps"
    "missing usr/share/applications/$id.desktop|rm $apps"
    "missing or not executable: usr/games/travoli-tool|mkdir -p usr/bin && mv usr/games/travoli-tool usr/bin/"
    "missing manual page usr/share/man/man6/travoli-tool.6.gz|rm usr/share/man/man6/travoli-tool.6.gz"
    "man6/travoli.6.gz renders with warnings|gunzip usr/share/man/man6/travoli.6.gz && echo '.BOGUS' >>usr/share/man/man6/travoli.6 && gzip -n usr/share/man/man6/travoli.6"
    "does not show the command 'chunk'|gunzip usr/share/man/man6/travoli-tool.6.gz && sed -i 's/^.B travoli.-tool chunk/.B travoli-tool/' usr/share/man/man6/travoli-tool.6 && gzip -n usr/share/man/man6/travoli-tool.6"
    "missing or broken usr/share/doc/travoli/changelog.gz|rm usr/share/doc/travoli/changelog.gz"
    "missing usr/share/metainfo/$id.metainfo.xml|rm $meta"
    "missing usr/share/doc/travoli/copyright|rm usr/share/doc/travoli/copyright"
    "missing usr/share/bash-completion/completions/travoli-tool|rm usr/share/bash-completion/completions/travoli-tool"
    "appstreamcli rejects the metainfo|sed -i '/metadata_license/d' $meta"
    "the metainfo's id is 'example.zanfir.Other'|sed -i 's:<id>.*</id>:<id>example.zanfir.Other</id>:' $meta"
    "launches 'travoli.desktop', which is not installed|sed -i 's:$id.desktop:travoli.desktop:' $meta"
)

failures=0
passed=0
for case in "${cases[@]}"; do
    expected=${case%%|*}
    spoil=${case#*|}
    copy=$work/case
    rm -rf "$copy"
    cp -a "$good" "$copy"
    (cd "$copy" && eval "$spoil")
    if output=$("$here/check_install.sh" "$copy" 2>&1); then
        echo "FAIL: accepted a tree after: $spoil" >&2
        failures=$((failures + 1))
    elif [[ $output != *"$expected"* ]]; then
        echo "FAIL: after '$spoil' expected '$expected', got: $output" >&2
        failures=$((failures + 1))
    else
        passed=$((passed + 1))
    fi
done
rm -rf "$work/case"
echo "check_install_test: $passed passed, $failures failed"
((failures == 0))
