#!/usr/bin/env bash
# Installs what is missing, builds Keynest and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${KEYNEST_BUILD_DIR:-$root/build}/app/keynest"
