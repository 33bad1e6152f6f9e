#!/usr/bin/env bash
# Checks the Debian package as an office meets it: lintian and the validators of the menu entry
# and the AppStream metadata, then the program unpacked into a temporary root (dpkg-deb -x) and
# started with a temporary home, without a screen. It logs in as the default operator and closes;
# its working folders must then be in that home's ~/.local/share/rsgz, the close-time copy in its
# bak/, and nothing written beside the program or into the files it ships.
#   tests/package/check_package.sh build/package/rsgz_*.deb
set -euo pipefail

deb=${1:?usage: check_package.sh PACKAGE.deb}
deb=$(realpath "$deb")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "package check FAILED: $*" >&2
  exit 1
}

echo "== lintian"
lintian --fail-on error "$deb"

root=$work/root
dpkg-deb -x "$deb" "$root"
echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/rsgz.desktop"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.rsgz.rsgz.metainfo.xml"

echo "== the unpacked program, logging in with a fresh home"
shipped_before=$(cd "$root" && find . -type f -exec sha256sum {} + | sort)
touch "$work/started"
home=$work/home
mkdir -p "$home"
# A clean environment: no XDG_DATA_HOME of the caller, no display.
status=0
printf 'admin\nadmin\n' | env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  timeout 120 "$root/usr/bin/rsgz" --login-from-stdin 2>"$work/stderr" || status=$?
if ((status != 0)); then
  cat "$work/stderr" >&2
  fail "the program did not log in and close (exit status $status)"
fi

data=$home/.local/share/rsgz
for folder in data bak set baobiao 照片; do
  [[ -d $data/$folder ]] || fail "the working folder $data/$folder was not made"
done
[[ -s $data/data/vesk.db ]] || fail "no live database $data/data/vesk.db"
[[ -f $data/set/tongji.list && -f $data/set/A4.p ]] || fail "the shipped settings files were not copied into $data/set"
mapfile -t copies < <(cd "$data/bak" && ls)
[[ ${#copies[@]} == 1 && ${copies[0]} =~ ^[0-9]{8}\.db$ ]] || fail "expected one close-time copy yyyymmdd.db in $data/bak, found: ${copies[*]:-nothing}"
[[ $(stat -c %a "$data") == 700 ]] || fail "$data may be read by others ($(stat -c %a "$data"))"

# The reader process runs from where the installed program looks for it, with the libraries the
# package depends on.
fixture=$(dirname "${BASH_SOURCE[0]}")/../data/employees.xls
"$root/usr/libexec/rsgz/rsgz_reader" tables "$fixture" >/dev/null || fail "the installed rsgz_reader cannot read $fixture"

written=$(find "$root" -newer "$work/started" -print)
[[ -z $written ]] || fail "the program wrote into the unpacked package: $written"
shipped_after=$(cd "$root" && find . -type f -exec sha256sum {} + | sort)
[[ $shipped_before == "$shipped_after" ]] || fail "the shipped files changed"

echo "package check passed: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB; working folders in \$HOME/.local/share/rsgz, close-time copy bak/${copies[0]}"
