#include "platform/driver/PrinterModel.h"

#include <algorithm>

namespace vx {
namespace {

template <class T>
const T* ById(const std::vector<T>& list, int32_t id) {
    auto it = std::find_if(list.begin(), list.end(), [&](const T& e) { return e.id == id; });
    return it == list.end() ? nullptr : &*it;
}

bool Contains(const std::vector<int32_t>& list, int32_t v) {
    return std::find(list.begin(), list.end(), v) != list.end();
}

}  // namespace

bool ModelSource::OffersPaper(int32_t id) const { return Contains(papers, id); }
bool ModelSource::OffersMedium(int32_t id) const { return Contains(media, id); }

const InkOnMedium* ModelMedium::Ink(int32_t ink) const {
    auto it = std::find_if(inks.begin(), inks.end(), [&](const InkOnMedium& e) { return e.ink == ink; });
    return it == inks.end() ? nullptr : &*it;
}

bool PrinterModel::HasItem(DriverItem item) const { return Contains(items, static_cast<int32_t>(item)); }
bool PrinterModel::HasInk(int32_t ink) const { return Contains(inks, ink); }
const ModelPaper* PrinterModel::Paper(int32_t id) const { return ById(papers, id); }
const ModelSource* PrinterModel::Source(int32_t id) const { return ById(sources, id); }
const ModelMedium* PrinterModel::Medium(int32_t id) const { return ById(media, id); }

const std::vector<int32_t>& PrinterModel::CommonItems() {
    static const std::vector<int32_t> items{20, 30, 40, 50, 60, 70, 201, 204, 213, 236};
    return items;
}

const std::vector<int32_t>& PrinterModel::OptionalItems() {
    static const std::vector<int32_t> items{80, 203, 205, 212, 214, 225};
    return items;
}

}  // namespace vx
