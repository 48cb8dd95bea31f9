#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/driver/DriverItem.h"

namespace vx {

/// Margins in 0.1 mm, as on a portrait sheet.
struct Margins {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const Margins&) const = default;
};

struct ModelPaper {
    int32_t id = 0;
    int32_t width = 0, height = 0;  // 0.1 mm, portrait
    std::string name;
    int line = 0;  // in the descriptor
};

struct ModelSource {
    int32_t id = 0;
    std::string name;
    std::vector<int32_t> papers, media;  // offered, in order; the first ones are the fallbacks
    bool roll = false, borderless = false;
    Margins standard, maximum;  // standard and maximum printable area
    int32_t rollOptions = 0;    // item 205 bits offered
    int32_t overspray = 0;      // 0.1 mm on every side of a borderless page
    int line = 0;

    bool OffersPaper(int32_t id) const;
    bool OffersMedium(int32_t id) const;
};

struct InkOnMedium {
    int32_t ink = 0;
    int32_t modes = 1;  // print modes: 1 quality only, 2 quality and fast
    bool ultrafine = false;
};

struct ModelMedium {
    int32_t id = 0;
    std::string name;
    std::string profile;  // ICC file name in the data folder's "icc" folder
    std::vector<InkOnMedium> inks;  // the inks allowed on the medium
    int line = 0;

    const InkOnMedium* Ink(int32_t ink) const;
};

/// One printer model as its descriptor describes it.
struct PrinterModel {
    std::string name;  // the driver information's model name: at most 31 bytes, "TEVRA ..."
    int32_t family = 0;
    int32_t modelClass = 0;  // 1, 2 or 3
    int32_t resolution = 0;  // device pixels per inch
    std::vector<int32_t> items;  // the data items the model has
    std::vector<int32_t> inks;   // item 236
    int32_t layoutFlags = 0;     // item 204 bits offered
    int32_t largestWidth = 0, largestLength = 0;  // largest user-defined paper, 0.1 mm
    std::vector<ModelPaper> papers;
    std::vector<ModelSource> sources;
    std::vector<ModelMedium> media;
    std::filesystem::path file;  // the descriptor it came from

    bool HasItem(DriverItem item) const;
    bool HasInk(int32_t ink) const;
    const ModelPaper* Paper(int32_t id) const;
    const ModelSource* Source(int32_t id) const;
    const ModelMedium* Medium(int32_t id) const;

    /// Items every model has; descriptors list the others.
    static const std::vector<int32_t>& CommonItems();
    static const std::vector<int32_t>& OptionalItems();
};

}  // namespace vx
