#pragma once

#include <plist/plist.h>

#include <cstdlib>
#include <type_traits>

// Walking a libplist dictionary: each key (never null) and its value in the dictionary's order.
// libplist hands out copies of the keys and an iterator that the caller frees; this frees them
// on every way out. `visit` returns nothing, or false to stop the walk early.
namespace PlistDictionary {

// Calls visit(const char *key, plist_t value) for each item; false when `visit` stopped early.
template<typename Visit>
bool forEach(plist_t dictionary, Visit &&visit)
{
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dictionary, &iter);
    bool whole = true;
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iter, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        bool goOn = true;
        if constexpr (std::is_void_v<decltype(visit(static_cast<const char *>(key), value))>)
            visit(static_cast<const char *>(key ? key : ""), value);
        else
            goOn = visit(static_cast<const char *>(key ? key : ""), value);
        std::free(key);
        if (!goOn) {
            whole = false;
            break;
        }
    }
    std::free(iter);
    return whole;
}

} // namespace PlistDictionary
