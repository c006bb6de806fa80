# Sourced by the tools that change the system (installing packages): runs a
# command as root, through sudo only when the script is not root already, so
# the same scripts work for root on a fresh system without sudo and for a
# user with sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "This step needs root: run it as root, or install sudo (apt-get install sudo)." >&2
    return 1
  fi
}
