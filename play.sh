#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/scripts/bootstrap.sh" default
exec "$root/build/ui/travoli"
