# Shared by the set-up scripts: install missing Debian packages, then build with CMake.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# What the native build needs: compiler and build tools, the command line's libraries (CLI11,
# nlohmann/json, Boost.Asio and Boost.Beast for the server), the pictures' (librsvg and cairo
# draw them, Pango with HarfBuzz and FreeType lays out their text, fontconfig finds the fonts),
# and the fonts its SVG, its pictures and the demo page name for Arabic text.
NATIVE_PACKAGES=(build-essential cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev
  libboost-dev librsvg2-dev libcairo2-dev libpango1.0-dev libharfbuzz-dev libfreetype-dev
  libfontconfig-dev libpng-dev fonts-noto-core fonts-hosny-amiri)

# ensure_packages PKG...: installs those not yet installed (no recommended extras).
ensure_packages() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# build DIR [CMAKE ARGS...]: configures (once) and builds the tree in DIR.
build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir"
}
