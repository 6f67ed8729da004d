#!/usr/bin/env bash
# Builds everything and runs every test: the normal build (GUI tests under Xvfb), the SARIF logs
# run through the official validator, the three Debian packages made from it and checked (lintian,
# hardening-check, unpacked, and installed with apt-get where it runs as root), then
# the core and its tests again with AddressSanitizer and UndefinedBehaviorSanitizer and the GUI
# soak on that build, the tests that run threads with ThreadSanitizer, and last the
# libFuzzer harnesses (tests/fuzz), when clang is there: built in build-fuzz and run 50 s each on
# their corpora. Then the Windows cross-build and its tests under wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
jobs=$(nproc 2>/dev/null || echo 2)
(cd build && ctest --output-on-failure -j "$jobs")
# The official SARIF validator over check's logs (about a minute; skipped without npm's registry).
scripts/check-sarif.sh build
# The Debian packages from the same build/ tree (nothing more to build) and their checks: about a
# minute (lintian some 20 s, the apt-get install and purge some 30 s of it).
scripts/package.sh --check

# The sanitizer build holds the desktop program too, for the soak below (wxWidgets' flags reach
# every file, so the core is built once for both).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLIX_SANITIZE=ON -DQUELLIX_GUI=ON > /dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The out-of-memory sweep and the kill tests run in build/ only: they start many processes and
# test no memory handling of their own. The GUI tests ran in build/; here the soak drives the program.
(cd build-asan && ctest --output-on-failure -j "$jobs" -E 'AllocationFailure|Kill\.' -LE gui)
# The stand-in's import under the sweep here too, where LeakSanitizer sees what a shortage leaves
# open (78 runs, some 30 s): a connection left open by a failed schema read went unseen in build/.
(cd build-asan && ctest --output-on-failure -R 'AllocationFailure.*/import')
# 2 minutes of the GUI soak (scripts/soak.sh) on the sanitizer build of the desktop program. Cost
# from an empty folder without ccache: the desktop program's part of the build about 470 s of
# processor time (the core's part is built for the tests above anyway), the soak 2 minutes and
# some 20 s of start, together about 6 minutes on two cores.
scripts/soak.sh 2 1 || [ $? -eq 77 ]

# ThreadSanitizer: the core tests built with it, and every test that runs work on several threads
# (the one-thread-versus-many comparison on the sample and on a generated export, the parallel
# reader, the reference index, the worker slot and thread pool) run with it; any report fails.
# Cost on two cores from an empty folder without ccache: the build 888 s of processor time, the
# run 205 s, together 9.1 min. QUELLIX_RACE_TESTS=1 runs the whole core suite so instead (far
# longer; the install check, which needs the whole build, and the regular expression's 60 s hang
# limit, which ThreadSanitizer's speed breaks, left out).
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLIX_TSAN=ON -DQUELLIX_GUI=OFF > /dev/null
cmake --build build-tsan -j "$jobs" --target quellix_tests
threaded='Parallel|WorkerThreads|WorkerSlot|SeveralThreads|ReadExportProgress|ReferenceIndex|JobRunner|StatusRelay|ProgressRelay'
if [ "${QUELLIX_RACE_TESTS:-}" = 1 ]; then
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
     ctest --output-on-failure -j "$jobs" -E 'AllocationFailure|Kill\.|^install$|PatternMatcher\.LongSubjects')
else
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
     ctest --output-on-failure -j "$jobs" -R "$threaded")
  echo "test.sh: the whole core suite under ThreadSanitizer skipped (QUELLIX_RACE_TESTS=1 runs it)"
fi

# A crash, leak, timeout or memory overrun of a harness fails here and prints its log's end with
# the reproducer's path (scripts/fuzz.sh).
if command -v clang++ > /dev/null; then
  scripts/fuzz.sh --ci 50
else
  echo "test.sh: clang++ missing, fuzzing harnesses skipped"
fi

# Windows (scripts/test-windows.sh): the cross-build, the core and CLI suites under wine, every
# quellix-cli.exe output byte for byte against Linux, the stand-in through cfront.dll; the desktop
# program too when the cache (~/.cache/quellix-win) holds wxWidgets for it. From an empty cache and
# without the compiler cache (third-party code from Debian's sources, the x86_64 build with its
# tests, a new wine prefix) it took 1343 s of processor time (970 s user, 373 s system): about 11
# minutes on a 2-core machine, plus the apt-get install of mingw-w64 and wine and the wine server's
# own time; about 2 minutes of processor time with the cache and the compiler cache.
# QUELLIX_WINDOWS_TESTS=0 skips it.
if [ "${QUELLIX_WINDOWS_TESTS:-1}" = 1 ]; then
  scripts/test-windows.sh
else
  echo "test.sh: Windows cross-build and wine tests skipped (QUELLIX_WINDOWS_TESTS=0)"
fi
