#pragma once
#include <vector>

#include "platform/gfx/ImageSurface.h"
#include "templates/TemplateInfo.h"

namespace vx {

/// The small pictures of the template lists, one pair per catalogue record and aligned
/// with its indices: the record's preview reduced to 64 and to 32 pixels on white. A
/// preview that is missing or does not decode gives a white picture, so indices stay
/// aligned. Shared by the chooser and the organiser.
class TemplateThumbnails {
public:
    static constexpr int kMediumSide = 64;
    static constexpr int kSmallSide = 32;

    /// Replaces the pictures by those of every record of catalog, in index order.
    void Build(const CTemplateInfoArray& catalog);
    int Count() const { return static_cast<int>(mMedium.size()); }
    /// The picture of record index at side kMediumSide or kSmallSide; an invalid
    /// surface for an index outside the built range.
    const gfx::ImageSurface& Medium(int index) const;
    const gfx::ImageSurface& Small(int index) const;

private:
    std::vector<gfx::ImageSurface> mMedium;
    std::vector<gfx::ImageSurface> mSmall;
    gfx::ImageSurface mNone;
};

}  // namespace vx
