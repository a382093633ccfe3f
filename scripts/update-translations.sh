#!/usr/bin/env bash
# Brings the wizard's translation catalogues in line with the texts of src/: new texts come in
# unfinished, translations of texts that still exist are kept, texts that are gone are dropped.
# The English catalogue only lists the source texts.
#   scripts/update-translations.sh [lupdate]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${1:-${LUPDATE:-lupdate}}
cd "$here"

# No source locations: they would churn the catalogues with every edit of the code, and each
# context is already named after the form or class that shows its texts.
for language in en de fr zh_CN; do
  "$lupdate" -silent -no-obsolete -locations none -extensions cpp,h,ui \
    -I src -source-language en -target-language "$language" \
    src -ts "product/translations/uninstall_$language.ts"
done

# Reports what is left to translate, so a forgotten text shows up before the tests catch it.
for language in de fr zh_CN; do
  file="product/translations/uninstall_$language.ts"
  open=$(grep -c 'type="unfinished"' "$file" || true)
  [ "$open" -eq 0 ] || echo "update-translations: $file has $open unfinished text(s)"
done
