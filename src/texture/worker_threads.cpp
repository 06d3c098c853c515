#include "texture/worker_threads.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace livrano {

void runOnThreads(unsigned threads, std::size_t limit, const std::function<void()>& work) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::max<std::size_t>(std::min<std::size_t>(threads, limit), 1) - 1;
    // Room for every helper before the first one runs: the list must not grow (and perhaps fail
    // to) while threads are running, or their handles would be destroyed unjoined.
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (std::size_t h = 0; h < helpers; ++h) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    work();
    for (std::thread& t : pool)
        t.join();
}

} // namespace livrano
