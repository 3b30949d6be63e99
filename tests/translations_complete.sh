#!/usr/bin/env bash
# Every translation covers the program's texts as they are now: lupdate,
# run on a copy of each translations/*.ts against the code and the forms,
# finds no text there without a finished translation. (Translations whose
# text has gone are harmless, lrelease leaves them out; update_translations
# drops them.)
# Usage: translations_complete.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1 root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0 count=0
for ts in "$root"/translations/*.ts; do
  copy="$work/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" -silent -locations none -extensions cpp,h,ui "$root/src" "$root/forms" -ts "$copy"
  if grep -B3 'type="unfinished"' "$copy" >"$work/missing"; then
    echo "FAIL: $(basename "$ts") is not complete:" >&2
    grep -E '<source>|type=' "$work/missing" >&2
    status=1
  fi
  count=$((count + 1))
done
((count > 0)) || { echo "FAIL: no translations in $root/translations" >&2; exit 1; }
if ((status)); then
  echo "Bring them up to date with 'cmake --build BUILD --target update_translations'" \
    "and translate the new texts (Qt Linguist: linguist translations/pondwillow_<code>.ts)." >&2
  exit 1
fi
echo "ok: $count translation(s) complete"
