#!/usr/bin/env bash
# Static checks of the C++ tree, both of which must find nothing:
#   1. clang-format (.clang-format): every tracked .cpp and .h is formatted;
#   2. clang-tidy 14 (.clang-tidy, and the .clang-tidy files below it) on
#      every tracked .cpp that a build's compile_commands.json holds; headers
#      are checked through the sources that include them.
#
#   scripts/static-checks.sh [build-folder...]     (default: build)
#
# A source is checked with the first build folder whose database holds it, so
# naming a build with KORVANE_FUZZ=ON as well adds the fuzz targets. Sources
# that no database holds are listed and skipped. The build folders must be
# built (generated moc and resource sources).
# Environment: STATIC_JOBS (parallel clang-tidy runs, default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${STATIC_JOBS:-$(nproc)}
format=clang-format-14
tidy=clang-tidy-14
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(build)

for tool in "$format" "$tidy" python3; do
  command -v "$tool" >/dev/null || { echo "static-checks: $tool is missing (scripts/setup.sh)"; exit 2; }
done

mapfile -t sources < <(git -C "$root" ls-files '*.cpp' '*.h')
[ ${#sources[@]} -gt 0 ] || { echo "static-checks: no tracked C++ files found"; exit 2; }

failed=0
start=$(date +%s)

echo "== clang-format: ${#sources[@]} files"
unformatted=()
for f in "${sources[@]}"; do
  "$format" --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  failed=1
  echo "not formatted (fix with: $format -i FILE):"
  printf '  %s\n' "${unformatted[@]}"
fi

echo "== clang-tidy"
# "<build folder>\t<source>" for each tracked source, by the first database
# that holds it.
plan=$(python3 - "$root" "${builds[@]}" <<'EOF'
import json, os, subprocess, sys
root, builds = sys.argv[1], sys.argv[2:]
tracked = subprocess.run(["git", "-C", root, "ls-files", "*.cpp"], capture_output=True,
                         text=True, check=True).stdout.split()
owner = {}
for b in builds:
    db = os.path.join(b, "compile_commands.json")
    if not os.path.exists(db):
        print("missing\t" + db)
        continue
    for e in json.load(open(db)):
        path = os.path.realpath(os.path.join(e["directory"], e["file"]))
        owner.setdefault(path, b)
for t in tracked:
    path = os.path.realpath(os.path.join(root, t))
    print((owner[path] if path in owner else "none") + "\t" + t)
EOF
)
if grep -q '^missing' <<<"$plan"; then
  grep '^missing' <<<"$plan" | sed 's/^missing\t/no compilation database: /'
  echo "static-checks: build the folders first"
  exit 2
fi
skipped=$(grep -c '^none' <<<"$plan" || true)
if [ "$skipped" -gt 0 ]; then
  echo "not in any compilation database, not checked:"
  grep '^none' <<<"$plan" | cut -f2 | sed 's/^/  /'
fi
checked=$(grep -vc '^none' <<<"$plan" || true)
echo "$checked sources, $jobs at a time"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! grep -v '^none' <<<"$plan" | tr '\t' '\n' |
     xargs -d '\n' -n 2 -P "$jobs" sh -c '"$0" -p "$1" --quiet "$2" 2>/dev/null' "$tidy" >"$log"; then
  failed=1
fi
if grep -q 'error:' "$log"; then
  failed=1
  grep -E 'error:' "$log" | sort -u
  echo "clang-tidy: $(grep -E 'error:' "$log" | sort -u | wc -l) findings"
fi

echo "static-checks: $(( $(date +%s) - start )) s"
if [ "$failed" -ne 0 ]; then
  echo "static-checks: FAILED"
  exit 1
fi
echo "static-checks: passed"
