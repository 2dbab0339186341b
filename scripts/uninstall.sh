#!/usr/bin/env bash
# Removes what `cmake --install build --prefix PREFIX` put under PREFIX
# (default /usr/local). It stages the same install into a temporary folder to
# learn the files, so it holds whatever install ran since, a DESTDIR staging
# included.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${1:-/usr/local}"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install build --prefix "$prefix" >/dev/null
(cd "$stage$prefix" && find . ! -type d) | while read -r f; do
  rm -fv "$prefix/${f#./}"
done
# The folders that are Piksor's own, once empty.
(cd "$stage$prefix" && find . -depth -type d \( -path '*/piksor' -o -path '*/doc/*' \)) |
  while read -r d; do
    rmdir --ignore-fail-on-non-empty "$prefix/${d#./}" 2>/dev/null || true
  done
