# SPDX-License-Identifier: GPL-3.0-or-later
# What scripts/add-spdx and scripts/check-spdx share: which tracked files carry a one-line SPDX
# licence header, and in which comment form. Sourced, not run.

SPDX_LICENSE="GPL-3.0-or-later"

# Prints "STYLE<TAB>PATH" for every tracked file that takes a header: "//" for C++ sources,
# "#" for CMake files, .sh files and scripts (a file whose first line is a #! line). The fuzz corpora
# are inputs, never sources.
spdx_candidates() {
  git ls-files -z | while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    case "$file" in
      fuzz/corpus/*) ;;
      *.cpp | *.h) printf '//\t%s\n' "$file" ;;
      CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh) printf '#\t%s\n' "$file" ;;
      *) [ "$(head -c 2 "$file")" = '#!' ] && printf '#\t%s\n' "$file" ;;
    esac
  done
  return 0
}

# True when the file names its licence in its first lines (after a #! line, if any).
spdx_has_header() {
  head -n 3 "$1" | grep -q 'SPDX-License-Identifier:'
}
