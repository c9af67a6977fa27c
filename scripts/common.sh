# Shared by scripts/run and scripts/test: install what is missing, configure and build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QORVANE_BUILD_DIR:-$ROOT/build}

PACKAGES=(
    build-essential cmake ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
    libsqlite3-dev sqlite3
    unixodbc unixodbc-dev odbc-postgresql odbc-mariadb
    googletest libgtest-dev
    postgresql-15 postgresql-client-15
    xvfb xauth fonts-noto-cjk
    xdg-utils
)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    # A compiler cache outside the clone makes repeated builds cheap.
    export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/qorvane-ccache}
    export CCACHE_BASEDIR=$ROOT   # clones in other folders share the cache
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}

# The sample database a new user can try at once.
build_sample() {
    local db="$ROOT/sample/sample.db"
    if [ ! -f "$db" ] || [ "$ROOT/sample/sample.sql" -nt "$db" ]; then
        rm -f "$db.tmp"
        sqlite3 "$db.tmp" < "$ROOT/sample/sample.sql" >/dev/null
        mv "$db.tmp" "$db"
    fi
}
