# Shared by the scripts: paths, package installation and the build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PELVAR_BUILD_DIR:-$ROOT/build}"
export LANG=C.UTF-8
export LC_ALL=C.UTF-8
# Qt wants a private runtime folder; give it one when the session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/pelvar-runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev qt6-base-dev-tools libqscintilla2-qt6-dev
  libgtest-dev libgmock-dev unixodbc unixodbc-dev libsqliteodbc odbc-postgresql sqlite3)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of the given packages is missing (Debian 12).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

build_pelvar() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths relative to the checkout: every clone of the project shares the cache.
  export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}

# A free TCP port on the loopback, from $1 upwards.
free_port() {
  local p=$1
  while (echo >"/dev/tcp/127.0.0.1/$p") 2>/dev/null; do p=$((p + 1)); done
  echo "$p"
}

# Writes the ODBC driver list of this machine into $1/odbcinst.ini (the
# system's own file has a broken SQLite entry and logs psqlODBC traffic).
write_odbcinst() {
  mkdir -p "$1"
  cat >"$1/odbcinst.ini" <<INI
[SQLite3]
Description=SQLite3 ODBC Driver
Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so

[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
INI
}
