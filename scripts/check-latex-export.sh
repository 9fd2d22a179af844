#!/bin/sh
# Exports a document as LaTeX and runs pdflatex on it: fails on an error, on a character the
# fonts do not have, or on one LaTeX was not told how to set.
# Usage: scripts/check-latex-export.sh [TESSARY] [DOCUMENT.rtf]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
tessary=${1:-$here/build/tessary}
document=${2:-$here/docs/formula-example.rtf}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$tessary" --export-latex "$document" "$work/out.tex"
(cd "$work" && pdflatex -interaction=nonstopmode -halt-on-error out.tex >/dev/null 2>&1 &&
    pdflatex -interaction=nonstopmode -halt-on-error out.tex >/dev/null 2>&1) || {
    grep -A3 '^!' "$work/out.log" >&2
    echo "pdflatex failed on $document" >&2
    exit 1
}
if grep -E 'Missing character|not set up for use|Undefined control|Warning' "$work/out.log" >&2; then
    echo "pdflatex warned on $document" >&2
    exit 1
fi
pages=$(grep -o 'Output written on out.pdf ([0-9]* page' "$work/out.log" | grep -o '[0-9]* page')
echo "ok: $document compiles with pdflatex ($pages), no warnings"
