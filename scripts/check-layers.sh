#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own.
#   scripts/check-layers.sh [SRC_DIR]
set -uo pipefail
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)}

# Each folder and the folders it may include (its own is always allowed).
declare -A allowed=(
    [platform]=""
    [printjob]="platform"
    [preview]="platform printjob"
    [editor]="platform"
    [html]="platform editor"
    [documents]="platform editor html"
    [printing]="platform editor printjob preview"
    [app]="platform editor html documents printjob preview printing"
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
exit $status
