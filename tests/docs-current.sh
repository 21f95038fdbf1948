#!/usr/bin/env bash
# Fails when docs/reference differs from what `qorin doc` writes from the code's tables now.
#
#   docs-current.sh QORIN DOCS_REFERENCE_DIR
set -euo pipefail
qorin=${1:?usage: docs-current.sh QORIN DIR}
docs=${2:?usage: docs-current.sh QORIN DIR}
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
ASAN_OPTIONS=detect_leaks=0 "$qorin" doc "$fresh"
if ! diff -ru "$docs" "$fresh"; then
  echo "docs-current: $docs is out of date: run qorin doc $docs" >&2
  exit 1
fi
