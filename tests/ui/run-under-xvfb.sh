#!/bin/sh
# Runs the GUI test binary on a private virtual X server, with a throw-away home and
# configuration folder so no real settings are read or written.
set -e
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/.config NO_AT_BRIDGE=1 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
