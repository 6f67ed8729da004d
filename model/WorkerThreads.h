#pragma once

#include <functional>

// How many threads the per-object work of one operation uses: the count set by setWorkerThreads,
// else QUELLIX_THREADS from the environment (a whole number from 1), else the hardware's thread
// count (at least 1).
int workerThreads();
// Overrides the count for the whole process (tests, benches); 0 returns to the environment and
// the hardware.
void setWorkerThreads(int count);

// How many workers runInOrder(count, ...) uses: workerThreads(), at most count, at least 1.
int workersFor(int count);

// Runs work(i, w) for every i in 0..count-1 on workersFor(count) threads (w: the worker, from 0,
// for state of its own) and merge(i) on the calling thread, in ascending order of i, each after its work(i) has returned; work(i) for different i
// may run at the same time, so it must only touch what belongs to item i. Once stop() is true no
// further item starts or is merged (as on one thread), and merge runs only for items before the
// first one that did not run. stop() is called on the worker threads, several at a time: it may
// only read what they may read together (an atomic flag), never set anything. With
// one thread or one item everything runs on the calling thread: for each i, stop(), work(i),
// merge(i). An exception thrown by work ends the run; it is rethrown on the calling thread after
// every worker has ended.
void runInOrder(int count, const std::function<void(int, int)>& work, const std::function<void(int)>& merge,
                const std::function<bool()>& stop);

// Runs work(k) for every k in 0..slices-1: k = 0 on the calling thread, the others on threads of
// their own (a slice whose thread cannot be started runs on the calling thread). Returns when all
// have ended; the first exception any of them threw is then rethrown on the calling thread, so no
// thread ever ends by an exception.
void runSlices(int slices, const std::function<void(int)>& work);
