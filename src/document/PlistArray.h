#pragma once

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <type_traits>

// Walking a libplist array in order. Arrays built from a binary list keep no index, so fetching
// item i walks i items: walking by index costs time growing with the square of the items,
// walking by iterator time in step with them. `visit` returns nothing, or false to stop early.
namespace PlistArray {

// Calls visit(uint32_t index, plist_t item) for each item; false when `visit` stopped early.
template<typename Visit>
bool forEach(plist_t array, Visit &&visit)
{
    const uint32_t size = plist_array_get_size(array);
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    bool whole = true;
    for (uint32_t i = 0; i < size; ++i) {
        plist_t item = nullptr;
        plist_array_next_item(array, iter, &item);
        if (!item)
            break;
        if constexpr (std::is_void_v<decltype(visit(i, item))>) {
            visit(i, item);
        } else if (!visit(i, item)) {
            whole = false;
            break;
        }
    }
    std::free(iter);
    return whole;
}

} // namespace PlistArray
