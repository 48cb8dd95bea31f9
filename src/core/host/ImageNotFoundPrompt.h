#pragma once
#include <string>

namespace vx {

/// The answers of the image-not-found question, by the buttons' numbers.
enum ImageNotFoundAnswer : int {
    kImageNotFoundSearch = 1,   // "Suchen": look for the file
    kImageNotFoundStop = 2,     // "Stopp", also the close box: load no more images
    kImageNotFoundSkip = 2020,  // "Weiter": go on without this image
};

/// Asks what to do about an image file that is missing: a modal dialog titled with the
/// name exactly as given. The window side implements it
/// (HostService<ImageNotFoundPrompt>); without one the image is skipped.
class ImageNotFoundPrompt {
public:
    virtual ~ImageNotFoundPrompt() = default;
    /// One of ImageNotFoundAnswer; any other number counts as "Weiter".
    virtual int Ask(const std::string& name) = 0;
};

}  // namespace vx
