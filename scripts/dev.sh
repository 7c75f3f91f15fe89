#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh run    installs what is missing, builds, and starts on the demo database
#   scripts/dev.sh test   installs what is missing, builds, and runs every test
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=$(nproc 2>/dev/null || echo 2)

BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgl-dev libsqlite3-dev libssl-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev openssl unixodbc-dev tdsodbc clang libclang-rt-14-dev)
RUN_PACKAGES=(fonts-noto-cjk qt6-qpa-plugins)

ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_build() { # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

case "${1:-}" in
run)
    shift
    ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
    configure_build build
    cmake --build build -j"$JOBS" --target dudodu
    # With no --server option and no settings item, the client creates the demo database on first
    # start and uses it.
    exec build/src/app/dudodu "$@"
    ;;
test)
    ensure_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
    configure_build build
    cmake --build build -j"$JOBS"
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j"$JOBS")
    # Every test program marked SANITIZED once more under address and undefined-behaviour sanitizers.
    configure_build build-asan -DDUDODU_SANITIZE=ON -DDUDODU_BUILD_BENCH=OFF
    cmake --build build-asan -j"$JOBS" --target sanitized_tests
    (cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        ctest --output-on-failure --no-tests=error -j"$JOBS" -L sanitized)
    ;;
*)
    echo "usage: scripts/dev.sh run|test" >&2
    exit 2
    ;;
esac
