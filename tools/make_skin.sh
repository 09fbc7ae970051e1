#!/usr/bin/env bash
# Generates the skins folder (description files of both languages, pictures, default macros)
# from the sources in tools/skin. Usage: tools/make_skin.sh OUTDIR [--previews DIR]
set -euo pipefail
out=${1:?usage: make_skin.sh OUTDIR [--previews DIR]}
shift
exec python3 "$(dirname "${BASH_SOURCE[0]}")/skin/make_skin.py" "$@" "$out"
