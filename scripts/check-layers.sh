#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own; silent when all is
# well, or with --list the layers from the bottom up and what each may include.
#   scripts/check-layers.sh [--list] [SRC_DIR]
set -uo pipefail
list=0
if [[ ${1:-} == --list ]]; then
    list=1
    shift
fi
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)}

# Each folder and the folders it may include (its own is always allowed).
declare -A allowed=(
    [platform]=""
    [rtf]="platform"
    [richtext]="platform rtf"
    [printjob]="platform rtf richtext"
    [preview]="platform rtf richtext printjob"
    [editor]="platform rtf richtext"
    [html]="platform rtf richtext editor"
    [documents]="platform rtf richtext editor html"
    [printing]="platform rtf richtext editor printjob preview"
    [app]="platform rtf richtext editor html documents printjob preview printing"
)

status=0
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    if [[ -z ${allowed[$folder]+set} ]]; then
        echo "$folder/: a folder without a place in the layers (add it to $0)"
        status=1
        continue
    fi
    while IFS= read -r hit; do
        target=$(sed -E 's/.*#include +"([a-z]+)\/.*/\1/' <<<"$hit")
        [[ $target == "$folder" ]] && continue
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "${hit#"$src"/}: $folder/ may not include $target/"
            status=1
        fi
    done < <(grep -rnE '#include +"[a-z]+/' "$dir")
done
if ((status == 0 && list)); then
    # The layers from the bottom up, each with the ones below it that it may use.
    for folder in platform rtf richtext printjob preview editor html documents printing app; do
        printf '%-10s may include: %s\n' "$folder/" "${allowed[$folder]:-(nothing of ours)}"
    done
fi
exit $status
