#include "platform/system/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/system/Format.h"

namespace vx {
namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kEntries[] = {
#define VX_STRING(name, id, text) {id, text},
#include "resources/StringTable.inc"
#undef VX_STRING
};

constexpr bool SortedUnique() {
    for (size_t i = 1; i < std::size(kEntries); ++i)
        if (kEntries[i - 1].id >= kEntries[i].id) return false;
    return true;
}
static_assert(SortedUnique(), "StringTable.inc must be sorted by id without duplicates");

}  // namespace

const std::string& LoadString(int id) {
    // Built once; texts are handed out by reference for the whole run.
    static const auto* texts = [] {
        auto* v = new std::vector<std::pair<int, std::string>>();
        v->reserve(std::size(kEntries));
        for (const Entry& e : kEntries) v->emplace_back(e.id, e.text);
        return v;
    }();
    static const std::string empty;
    auto it = std::lower_bound(texts->begin(), texts->end(), id,
                               [](const auto& e, int key) { return e.first < key; });
    return (it != texts->end() && it->first == id) ? it->second : empty;
}

std::string MessageText(int id, const Args& args) {
    return FormatTemplate(LoadString(id), args);
}

}  // namespace vx
