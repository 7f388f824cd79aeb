#!/usr/bin/env bash
# Runs a command on a virtual X display of its own (Xvfb: 1280 x 1024, 24 bits,
# 96 dpi, so that twips and points come out as whole pixels) and stops the
# display afterwards, however the command ended. Exits with the command's status.
#
#   scripts/with_xvfb.sh COMMAND [ARGUMENTS...]
set -euo pipefail

number_file="$(mktemp)"
# Xvfb picks a free display number itself and writes it once it takes clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$number_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$number_file"' EXIT

for _ in $(seq 200); do
  [ "$(wc -l <"$number_file")" -ge 1 ] && break
  if ! kill -0 "$server" 2>/dev/null; then
    echo "with_xvfb.sh: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.05
done
[ "$(wc -l <"$number_file")" -ge 1 ] || { echo "with_xvfb.sh: Xvfb gave no display number" >&2; exit 1; }

status=0
DISPLAY=":$(head -n 1 "$number_file")" "$@" || status=$?
exit "$status"
