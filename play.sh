#!/usr/bin/env bash
# Installs what building and running the game needs, builds the game alone, and starts it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "travoli: the game needs a graphical desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
    exit 1
fi
"$root/scripts/bootstrap.sh" play
exec "$root/build/ui/travoli"
