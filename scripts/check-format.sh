#!/usr/bin/env bash
# Fails, listing them, when tracked C++ files do not follow .clang-format. The formatter is
# pinned to Debian 12's clang-format 14: another version formats some constructs differently.
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=clang-format-14
required_version="version 14."
if ! command -v "$formatter" >/dev/null; then
  echo "check-format: $formatter is missing (scripts/install-deps.sh installs it)"
  exit 1
fi
if ! "$formatter" --version | grep -q "$required_version"; then
  echo "check-format: $formatter reports $("$formatter" --version), not $required_version"
  exit 1
fi

unformatted=()
while IFS= read -r -d '' file; do
  if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then
    unformatted+=("$file")
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc')

if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} C++ files do not follow .clang-format:"
  printf '  %s\n' "${unformatted[@]}"
  echo "Format them with: $formatter -i FILE..."
  exit 1
fi
echo "check-format: every C++ file follows .clang-format"
