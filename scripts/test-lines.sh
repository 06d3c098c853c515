#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the lines of C++ in the test suite, the lines of C++ in the program (src/, tools/,
# bench/) and their ratio, overall and for each folder of src/ against its mirror under tests/.
# The data tables under tests/data/ (text the tests read case by case) are test lines too: a case
# moved from C++ into a table is still a case. Binary samples are not counted.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    local dirs=()
    for d in "$@"; do [ -d "$d" ] && dirs+=("$d"); done
    [ ${#dirs[@]} -eq 0 ] && { echo 0; return; }
    find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r cat | wc -l
}

ratio() {
    awk -v t="$1" -v c="$2" 'BEGIN { if (c > 0) printf "%.1f%%", 100 * t / c; else printf "-" }'
}

tables() {
    find tests/data -type f \( -name '*.txt' -o -name '*.cfg' \) -print0 | xargs -0 -r cat | wc -l
}

cpp=$(count tests)
data=$(tables)
tests=$((cpp + data))
code=$(count src tools bench)
echo "test lines: $tests ($cpp C++, $data in data tables)"
echo "code lines: $code"
echo "ratio:      $(ratio "$tests" "$code") ($(ratio "$cpp" "$code") without the tables)"
echo
printf '%-12s %6s %6s %7s\n' folder tests code ratio
for dir in src/*/; do
    name=$(basename "$dir")
    t=$(count "tests/$name")
    c=$(count "src/$name")
    printf '%-12s %6s %6s %7s\n' "$name" "$t" "$c" "$(ratio "$t" "$c")"
done
printf '%-12s %6s\n' support "$(count tests/support)"
