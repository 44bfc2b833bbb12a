#include "support/HeapCounter.h"

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define FESTILOOM_HEAP_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FESTILOOM_HEAP_HOOKS 1
#endif
#endif

#ifdef FESTILOOM_HEAP_HOOKS
// The sanitizer runtime's allocator interface (GCC ships the runtime without its header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void *, std::size_t),
                                              void (*freeHook)(const volatile void *));
std::size_t __sanitizer_get_allocated_size(const volatile void *block);
}
#endif

namespace {

std::atomic<qint64> inUse{0};
std::atomic<qint64> highest{0};

#ifdef FESTILOOM_HEAP_HOOKS
// What glibc's allocator takes for a block of `size` bytes.
qint64 heldFor(std::size_t size)
{
    const qint64 held = (qint64(size) + 8 + 15) & ~qint64(15);
    return held < 32 ? 32 : held;
}

void onMalloc(const volatile void *, std::size_t size)
{
    const qint64 now = inUse.fetch_add(heldFor(size), std::memory_order_relaxed) + heldFor(size);
    qint64 seen = highest.load(std::memory_order_relaxed);
    while (now > seen && !highest.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

// Called before the block is freed, so its size can still be asked.
void onFree(const volatile void *block)
{
    if (block)
        inUse.fetch_sub(heldFor(__sanitizer_get_allocated_size(block)),
                        std::memory_order_relaxed);
}

const bool installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
#else
const bool installed = false;
#endif

} // namespace

HeapCounter::HeapCounter()
    : m_start(inUse.load())
{
    highest.store(m_start);
}

bool HeapCounter::available()
{
    return installed;
}

qint64 HeapCounter::peak() const
{
    return highest.load() - m_start;
}

qint64 HeapCounter::current() const
{
    return inUse.load() - m_start;
}
