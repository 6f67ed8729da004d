#!/usr/bin/env bash
# Builds everything and runs every test: the normal build (GUI tests under Xvfb), the Debian
# package made from it and checked unpacked, then everything again with AddressSanitizer and
# UndefinedBehaviorSanitizer (the core tests, and two minutes of random commands in the desktop
# program), the core tests with ThreadSanitizer, and last the libFuzzer harnesses (tests/fuzz),
# when clang is there: built in build-fuzz and run 50 s each on their corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
jobs=$(nproc 2>/dev/null || echo 2)
(cd build && ctest --output-on-failure -j "$jobs")
# The Debian package from the same build/ tree, unpacked with dpkg -x and checked there.
scripts/package.sh --check

# The desktop program is built with the sanitizers too, for the soak below; its one-path GUI tests
# ran in build/ already.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLIX_SANITIZE=ON > /dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs" -LE gui)
# Two minutes of random commands in the sanitizer build of the desktop program.
scripts/soak.sh 2 1 || [ $? -eq 77 ]

# The core and its tests with ThreadSanitizer: the parallel readers and analyses show no data race.
# The out-of-memory sweep and the kill tests ran above; they test no threads of their own.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLIX_TSAN=ON -DQUELLIX_GUI=OFF > /dev/null
cmake --build build-tsan -j "$jobs" --target quellix_tests
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
   ctest --output-on-failure -j "$jobs" -E 'AllocationFailure|Kill\.')

# A crash, leak, timeout or memory overrun of a harness fails here and prints its log's end with
# the reproducer's path (scripts/fuzz.sh).
if command -v clang++ > /dev/null; then
  scripts/fuzz.sh --ci 50
else
  echo "test.sh: clang++ missing, fuzzing harnesses skipped"
fi
