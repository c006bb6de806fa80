# Sourced by the test scripts: tests are headless, with a fixed locale,
# silent, and with runtime and settings folders of their own.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 VELMORA_SOUND=off
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
export XDG_CONFIG_HOME=$(mktemp -d)
