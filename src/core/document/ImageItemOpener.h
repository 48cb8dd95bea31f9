#pragma once
#include <filesystem>
#include <string_view>

namespace vx {

class CImageObj;
class CLayoutObj;

/// What the layout reader needs of the model's image adding: making an item from the
/// layout's prototype, opening its file, its working bitmap and its label. The model's
/// own serve unless another is bound (tests and benchmarks bind fakes).
class ImageItemOpener {
public:
    virtual ~ImageItemOpener() = default;
    /// A new image item copied from prototype (defaults without one) and named name;
    /// with a list, numbered after the list's images and appended to it, which then owns
    /// it. Null when it cannot be made.
    virtual CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name) = 0;
    /// Identifies and opens the file for item (of `mType` 2) and fills its file facts
    /// and image description; false when the file cannot be read as an image.
    virtual bool OpenImageFile(CImageObj& item, const std::filesystem::path& path) = 0;
    /// Builds the item's working bitmap after a layout file is read.
    virtual void EnsureWorkingBitmap(CImageObj& item) = 0;
    /// Rebuilds the label text and the automatic caption font size.
    virtual void RecalcFrameCaption(CImageObj& item) = 0;
};

/// The bound opener, else the model's.
ImageItemOpener& ImageItems();
/// Binds opener (null restores the model's); returns the previous one, null when that
/// was the model's.
ImageItemOpener* SetImageItemOpener(ImageItemOpener* opener);

}  // namespace vx
