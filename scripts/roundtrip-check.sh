#!/bin/sh
# Opens each RTF file given in Tessary's reader and saves it through Tessary's writer, has
# LibreOffice convert the original and the saved file to HTML, and prints for each file the
# tables, rows, cells, images and list items LibreOffice finds in both (original/saved) and
# whether their visible text is the same. Exits 1 when any file differs.
#   scripts/roundtrip-check.sh tests/rtf/fixtures/*.rtf
# BUILD (default: build) is the build folder holding tools/rtfresave; KEEP=DIR keeps the files.
set -eu

build=${BUILD:-build}
resave=$build/tools/rtfresave
if [ ! -x "$resave" ]; then
    echo "roundtrip-check: $resave is missing (cmake --build $build --target rtfresave)" >&2
    exit 2
fi
command -v soffice >/dev/null || { echo "roundtrip-check: soffice not found" >&2; exit 2; }
work=${KEEP:-$(mktemp -d)}
mkdir -p "$work"
[ -n "${KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
profile=file://$work/lo-profile

failed=0
for file in "$@"; do
    name=$(basename "$file" .rtf)
    cp "$file" "$work/$name.original.rtf"
    if ! QT_QPA_PLATFORM=offscreen "$resave" "$file" "$work/$name.saved.rtf" 2>/dev/null; then
        echo "$name: Tessary could not open and save it"
        failed=1
        continue
    fi
    soffice -env:UserInstallation="$profile" --headless --convert-to html \
        "$work/$name.original.rtf" "$work/$name.saved.rtf" --outdir "$work" >/dev/null 2>&1 || true
    python3 - "$name" "$work/$name.original.html" "$work/$name.saved.html" <<'PY' || failed=1
import html, re, sys
from html.parser import HTMLParser

class Count(HTMLParser):
    kinds = {"table": "tables", "tr": "rows", "td": "cells", "th": "cells", "img": "images",
             "li": "items"}
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.counts = dict.fromkeys(["tables", "rows", "cells", "images", "items"], 0)
        self.text = []
        self.skip = 0
    def handle_starttag(self, tag, attrs):
        if tag in self.kinds:
            self.counts[self.kinds[tag]] += 1
        if tag in ("style", "script", "title"):
            self.skip += 1
    def handle_endtag(self, tag):
        if tag in ("style", "script", "title"):
            self.skip -= 1
    def handle_data(self, data):
        if not self.skip:
            self.text.append(data)

def read(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            page = Count()
            page.feed(f.read())
            return page
    except OSError:
        return None

name, original, saved = sys.argv[1], read(sys.argv[2]), read(sys.argv[3])
if original is None or saved is None:
    print(f"{name}: LibreOffice did not convert " + ("the original" if original is None else "the saved file"))
    sys.exit(1)
words = lambda page: " ".join("".join(page.text).split())
parts = [f"{k} {original.counts[k]}/{saved.counts[k]}" for k in original.counts]
same_text = words(original) == words(saved)
same = same_text and original.counts == saved.counts
print(f"{name}: " + ", ".join(parts) + ", text " + ("same" if same_text else "DIFFERS") +
      ("" if same else "  <-- differs"))
if not same_text:
    a, b = words(original), words(saved)
    i = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
    print(f"    original: ...{a[max(0, i - 30):i + 50]!r}\n    saved:    ...{b[max(0, i - 30):i + 50]!r}")
sys.exit(0 if same else 1)
PY
done
exit $failed
