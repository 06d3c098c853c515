#pragma once
// Work shared out over the processor's cores for the texture pass's large loops (encoding,
// scaling): the threads take their parts from a shared counter, so a thread slowed by other
// work leaves more parts to the others and a thread that could not start leaves none undone.

#include <cstddef>
#include <functional>

namespace livrano {

// Runs `work` on up to min(threads, limit) threads at once (threads 0: one per core), the calling
// thread among them, and returns once every one has returned. A thread the system refuses (out
// of threads, address space or memory for its state) is not an error: fewer run, the calling
// thread at least. `work` must take its parts until none is left, and must not throw.
void runOnThreads(unsigned threads, std::size_t limit, const std::function<void()>& work);

} // namespace livrano
