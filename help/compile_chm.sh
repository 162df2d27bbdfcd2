#!/bin/sh
# Compiles the help project into qor.chm.
#   compile_chm.sh <folder holding qor.hhp and the topics> <output .chm>
#
# chmcmd records each topic of the number map under the absolute path it compiled it from, and the
# viewer looks that path up inside the file: only a project compiled from "/" maps its numbers to
# pages that exist. So the project is compiled in a throw-away root holding the sources, chmcmd and
# the libraries it loads, entered with chroot (in a user namespace when not run as root).
set -eu
src=$1
out=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrane-chm.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

chmcmd=$(command -v chmcmd)
cp -R "$src"/. "$work"/
copy() {
  [ -e "$1" ] || return 0
  mkdir -p "$work$(dirname "$1")"
  cp -L "$1" "$work$1"
}
copy "$chmcmd"
for lib in $(ldd "$chmcmd" | grep -o '/[^ ]*'); do copy "$lib"; done
# Loaded at run time rather than linked: threads and the UTF-16 conversion of the index.
libdir=$(dirname "$(ldd "$chmcmd" | grep -o '/[^ ]*libc\.so\.6')")
copy "$libdir/libpthread.so.0"
copy "$libdir/gconv/gconv-modules.cache"
copy "$libdir/gconv/UTF-16.so"

if [ "$(id -u)" = 0 ]; then enter="chroot"; else enter="unshare -r chroot"; fi
env -i LANG=C PATH=/usr/sbin:/usr/bin:/sbin:/bin $enter "$work" "$chmcmd" --no-html-scan qor.hhp \
  >"$work/chmcmd.log" 2>&1 || { cat "$work/chmcmd.log" >&2; exit 1; }
[ -s "$work/qor.chm" ] || { cat "$work/chmcmd.log" >&2; echo "chmcmd wrote no qor.chm" >&2; exit 1; }

# Every number must lead to a page at the root of the file, or F1 would show nothing.
(cd "$work" && chmls extractalias qor.chm >/dev/null 2>&1)
if [ ! -s "$work/qor.ali" ] || grep -qv '^helpid[0-9]*=/[A-Za-z0-9_]*\.htm$' "$work/qor.ali"; then
  echo "qor.chm: the topic numbers do not map to pages inside the file:" >&2
  cat "$work/qor.ali" >&2 2>/dev/null || true
  exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$work/qor.chm" "$out"
