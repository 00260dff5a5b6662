#!/usr/bin/env bash
# Which lines of src/ the whole suite reaches: builds with gcov (the coverage preset), runs every
# test and reads the counts with gcovr, a summary here and a page per file in
# build-coverage/coverage/index.html. Code that nothing reaches is a candidate for removal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build-coverage -name '*.gcda' -delete
ctest --preset coverage || echo "coverage: some tests failed; the figures count what ran" >&2
mkdir -p build-coverage/coverage
gcovr --root . --filter 'src/' --exclude '.*_autogen/.*' build-coverage \
      --html-details build-coverage/coverage/index.html --print-summary
