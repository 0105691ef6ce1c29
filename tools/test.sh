#!/usr/bin/env bash
# The test command: installs what is missing, builds both architectures and
# runs every test under wine64 on a virtual 1920x1080 display.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64
tools/check-code.sh  # format, clang-tidy, the clang builds; each runs alone too

. tools/wine-env.sh
cs_env_start "$PWD/build/x86_64/test-env"
trap cs_env_stop EXIT
ctest --preset x86_64 "$@"
