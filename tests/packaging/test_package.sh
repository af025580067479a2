#!/bin/sh
# The Debian package as a new user meets it: made from the built tree (no second build),
# unpacked with dpkg-deb -x into a throwaway folder, its control data, file list, menu
# entry, icons, AppStream data and manual pages looked at, and its programs run from the
# unpacked folder: every program answers --version, kelm-cut optimises a small cut list,
# kelm starts offscreen until its main window stands and keeps its database in the
# user's data folder, never inside the installed tree.
#
# usage: test_package.sh CPACK BUILD_DIR VERSION PROGRAM...
set -eu
cpack=$1
build=$2
version=$3
shift 3
programs="$*"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
die() {
    echo "FAIL: $*" >&2
    exit 1
}

# ---- the package ----
if ! (cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log" >&2
    die "cpack could not make the package"
fi
set -- "$work"/out/kelm_"$version"_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || die "expected one kelm_${version}_<arch>.deb, found: $*"
deb=$1
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = kelm ] || fail "package name is not kelm"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "architecture is not $(dpkg --print-architecture)"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Found by dpkg-shlibdeps from the programs (C and C++ runtime, Qt's libraries) and the
# run-time plugins and the font, which the programs load by name.
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6xml6 \
    libqt6sql6-sqlite fonts-wqy-microhei qt6-translations-l10n; do
    printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$dep" ||
        fail "Depends lacks $dep"
done

# Every member belongs to root, as it will on the installed system.
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || fail "package members not owned by root/root: $owners"

# ---- the file list ----
root=$work/root
dpkg-deb -x "$deb" "$root"
{
    for p in $programs; do echo "/usr/bin/$p"; done
    cat <<'EOF'
/usr/share/applications/kelm.desktop
/usr/share/doc/kelm/changelog.gz
/usr/share/doc/kelm/copyright
/usr/share/icons/hicolor/128x128/apps/kelm.png
/usr/share/icons/hicolor/16x16/apps/kelm.png
/usr/share/icons/hicolor/22x22/apps/kelm.png
/usr/share/icons/hicolor/24x24/apps/kelm.png
/usr/share/icons/hicolor/256x256/apps/kelm.png
/usr/share/icons/hicolor/32x32/apps/kelm.png
/usr/share/icons/hicolor/48x48/apps/kelm.png
/usr/share/icons/hicolor/64x64/apps/kelm.png
/usr/share/icons/hicolor/scalable/apps/kelm.svg
/usr/share/man/man1/kelm-cut.1.gz
/usr/share/man/man1/kelm-db.1.gz
/usr/share/man/man1/kelm.1.gz
/usr/share/metainfo/org.kelm.Kelm.metainfo.xml
EOF
} | sort >"$work/expected.txt"
(cd "$root" && find . ! -type d | sed 's|^\.||' | sort) >"$work/files.txt"
if ! diff -u "$work/expected.txt" "$work/files.txt" >"$work/files.diff"; then
    cat "$work/files.diff" >&2
    fail "file list differs (- expected, + in the package)"
fi
for p in $programs; do
    [ -x "$root/usr/bin/$p" ] || fail "/usr/bin/$p is not executable"
done
for f in $(cd "$root" && find ./usr/share -type f); do
    mode=$(stat -c %a "$root/$f")
    [ "$mode" = 644 ] || fail "$f has mode $mode, not 644"
done
# Nothing refers to the build tree.
if grep -rl "$(cd "$build" && pwd)" "$root" >"$work/refs.txt" 2>/dev/null; then
    fail "files name the build folder: $(cat "$work/refs.txt")"
fi

# ---- menu entry, icons, AppStream ----
desktop=$root/usr/share/applications/kelm.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects kelm.desktop"
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Name)" = Kelm ] || fail "Name is not Kelm: $(key Name)"
key 'Name\[zh_CN\]' | grep -q '板式家具' || fail "no Chinese Name[zh_CN]: $(key 'Name\[zh_CN\]')"
key Categories | tr ';' '\n' | grep -qx Office || fail "Categories lacks Office"
[ "$(key Exec)" = kelm ] && [ -x "$root/usr/bin/kelm" ] || fail "Exec is not the installed kelm"
[ "$(key Icon)" = kelm ] || fail "Icon is not kelm"
for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/kelm.png
    file -b "$png" | grep -q "^PNG image data, $size x $size," ||
        fail "hicolor/${size}x${size} icon is not a $size x $size PNG: $(file -b "$png")"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/kelm.svg" || fail "kelm.svg is no SVG"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.kelm.Kelm.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "appstreamcli rejects the metainfo"
}
grep -q '<launchable type="desktop-id">kelm.desktop</launchable>' \
    "$root/usr/share/metainfo/org.kelm.Kelm.metainfo.xml" || fail "metainfo does not launch kelm.desktop"

# ---- manual pages: render without warnings; kelm-cut's names every option it knows ----
for page in kelm kelm-cut kelm-db; do
    gz=$root/usr/share/man/man1/$page.1.gz
    LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$gz" \
        >"$work/$page.txt" 2>"$work/$page.warn" || fail "man cannot show $page.1"
    [ -s "$work/$page.warn" ] && fail "man warns about $page.1: $(cat "$work/$page.warn")"
    grep -q "^NAME" "$work/$page.txt" || fail "$page.1 has no NAME section"
done
for section in OPTIONS "CSV FILES" "EXIT STATUS" EXAMPLES; do
    grep -q "^$section" "$work/kelm-cut.txt" || fail "kelm-cut.1 has no $section section"
done
cut=$root/usr/bin/kelm-cut
for option in $("$cut" --help | grep -o -- '--[a-z][a-z-]*' | sort -u) --version; do
    grep -q -- "$option" "$work/kelm-cut.txt" || fail "kelm-cut.1 does not describe $option"
done

# ---- the programs, run from the unpacked folder ----
for p in $programs; do
    out=$("$root/usr/bin/$p" --version 2>&1) || fail "$p --version fails"
    [ "$out" = "$p $version" ] || fail "$p --version prints \"$out\", not \"$p $version\""
done

mkdir "$work/cut"
printf 'name,length,width,count,price,prio\nBoard 18,2440,1220,,45,\n' >"$work/cut/sheets.csv"
printf 'name,length,width,count,rotation\n侧板,720,560,2,0\nshelf,564,540,2,1\n"door, left",716,296,2,0\n' \
    >"$work/cut/parts.csv"
if (cd "$work/cut" && "$cut" --sheets sheets.csv --parts parts.csv --kerf 4 --trim 10,10,10,10 \
    --seed 1 --generations 5 --png diagrams >out.json 2>err.txt); then
    json=$(cat "$work/cut/out.json")
    echo "kelm-cut: $json"
    echo "$json" | grep -q '"sheets":1,' || fail "kelm-cut did not lay 6 parts (1.84 m²) out on one 2440 x 1220 sheet"
    echo "$json" | grep -q '"uncut":0,' || fail "kelm-cut left parts uncut"
    file -b "$work/cut/diagrams/layout-1.png" | grep -q '^PNG image data' ||
        fail "kelm-cut --png wrote no layout-1.png"
else
    fail "kelm-cut failed: $(cat "$work/cut/err.txt")"
fi

# The installed tree must stay as the package made it: kelm's database goes to the user's
# data folder even though root could write into the unpacked usr/bin.
home=$work/home
mkdir "$home"
touch "$work/before-start"
sleep 1
if env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$work" \
    QT_QPA_PLATFORM=offscreen timeout 90 "$root/usr/bin/kelm" --check-start \
    >"$work/kelm.out" 2>"$work/kelm.err"; then
    cat "$work/kelm.out"
    grep -q '^kelm: main window shown: "Kelm 板式家具生产管理' "$work/kelm.out" ||
        fail "kelm's main window did not report itself: $(cat "$work/kelm.out")"
    grep -q ', icon 16,22,24,32,48,64,128,256,' "$work/kelm.out" ||
        fail "kelm's window lacks its icon: $(cat "$work/kelm.out")"
    db=$home/.local/share/Kelm/KelmDB.db
    grep -qF "database $db" "$work/kelm.out" || fail "kelm's database is not $db"
    [ -s "$db" ] || fail "kelm created no database at $db"
else
    fail "kelm did not start: $(cat "$work/kelm.out" "$work/kelm.err")"
fi
written=$(find "$root" -newer "$work/before-start")
[ -z "$written" ] || fail "kelm wrote into the installed tree: $written"

# The start check tells a start that stops at a message box: here the data folder cannot
# be made (a file stands where it should be), so the database cannot be opened.
touch "$work/not-a-folder"
if env HOME="$home" XDG_DATA_HOME="$work/not-a-folder" XDG_RUNTIME_DIR="$work" \
    QT_QPA_PLATFORM=offscreen timeout 90 "$root/usr/bin/kelm" --check-start \
    >"$work/kelm-bad.out" 2>"$work/kelm-bad.err"; then
    fail "kelm --check-start passed without a database: $(cat "$work/kelm-bad.out")"
else
    status=$?
    [ "$status" -eq 1 ] || fail "kelm --check-start ended with $status, not 1"
    grep -q '连接数据库出现异常情况' "$work/kelm-bad.err" ||
        fail "kelm --check-start did not name the message box: $(cat "$work/kelm-bad.err")"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
