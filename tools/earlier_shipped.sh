#!/bin/bash
# Lists the checksum of every version of every shipped file in the history of data/ into
# data/earlier.sha256. A program folder filled before the program kept a record of what it
# copied has copies equal to one of these where the user never changed them, so an upgrade
# may replace them. Run it from a clone with the full history; commit the list with it.
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/earlier.sha256
{
    for commit in $(git rev-list --full-history HEAD -- data); do
        git ls-tree -r "$commit" data | while read -r _ type object path; do
            [ "$type" = blob ] || continue
            name=${path#data/}
            case "$name" in DIC/* | HELP/* | ENGINE/* | end.wav) ;; *) continue ;; esac
            case "$name" in */.keep) continue ;; esac
            echo "$(git cat-file blob "$object" | sha256sum | cut -d' ' -f1)  $name"
        done
    done
} | sort -u -k2,2 -k1,1 >"$out.tmp"
mv "$out.tmp" "$out"
