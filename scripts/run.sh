#!/usr/bin/env bash
# Sets up, builds and starts the program. The user's data stays outside the build tree, in
# $VESTREL_DATA_DIR (default: ~/.local/share/Vestrel). Arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$root/build/run" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESTREL_BENCH=OFF -DVESTREL_TESTS=OFF >/dev/null
cmake --build "$root/build/run" -j "$(nproc)"

export VESTREL_DATA_DIR="${VESTREL_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/Vestrel}"
mkdir -p "$VESTREL_DATA_DIR"
if [ -x "$root/build/run/src/app/vestrel" ]; then
  exec "$root/build/run/src/app/vestrel" "$@"
fi
# Until the windowed program is built, the command-line face is the program.
exec "$root/build/run/src/cli/vestrel-cli" "$@"
