#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vx {

class CImageObj;

/// The graphics importers' reader of the profile in a PNG or PICT file ('PNGf',
/// 'PICT'): the profile bytes, empty when there is none. Bound by the importer layer;
/// until then such files have no profile.
using ImporterProfileReader =
    std::function<std::vector<uint8_t>(const std::filesystem::path& file, uint32_t fileType)>;
void SetImporterProfileReader(ImporterProfileReader reader);

/// The ICC profile embedded in the item's file, as stored: by `mFileType` the APP2
/// chunks of a JPEG, the Photoshop image resource, the EPS profile section, the TIFF
/// tag, or the importers' answer. Empty for a grey image ('GRAY'), another type, or a
/// file without a readable profile. Running out of memory throws std::bad_alloc.
std::vector<uint8_t> LoadImageEmbeddedProfile(const CImageObj& item);

/// The description of that profile; empty when there is none or it does not open.
std::string GetImageProfileDescription(const CImageObj& item);

/// Whether the item's source profile can be had: always for Zel items, for items that
/// use their embedded profile, else when the source description names a profile file.
bool IsImageSourceProfileAvailable(const CImageObj& item);

}  // namespace vx
