// Making image items and opening their files: the item factory, identification, the
// per-format description, colour space and preview.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/QuickTimePresent.h"
#include "imaging/DibPixels.h"
#include "imaging/EpsReader.h"
#include "imaging/FileByteSource.h"
#include "imaging/ImageFileType.h"
#include "imaging/JpegMetadata.h"
#include "imaging/PsdReader.h"
#include "imaging/TiffMetadata.h"
#include "imaging/TransformPixelBuffer.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "model/ImageAdding.h"
#include "model/ImageGeometry.h"
#include "model/ImageInfoReaders.h"
#include "model/ImageOpenHooks.h"
#include "model/ObjectList.h"
#include "model/PictureLoader.h"
#include "model/WorkingBitmapError.h"
#include "platform/system/FourCC.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint32_t kSpaceRgb = FourCC("RGB ");
constexpr uint32_t kSpaceGrey = FourCC("GRAY");
constexpr uint32_t kSpaceCmyk = FourCC("CMYK");

// The preview's longer side.
constexpr int kPreviewSide = 300;
// Importers' pictures above this on a side are not taken.
constexpr int kMaxImportedSide = 8000;

// Opens for reading, as the file must be readable before any reader runs. Non-blocking,
// so that a FIFO put in the file's place meanwhile cannot stall the program.
bool CheckReadable(const std::filesystem::path& path, bool& regular) {
    regular = false;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        char buffer[256];
        const char* reason = strerror_r(error, buffer, sizeof buffer);
        Messages().Show(IDS_FILE_NOT_READABLE_REASON, {std::string(reason)}, Icon::Error, Buttons::Ok);
        return false;
    }
    struct stat st {};
    regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return true;
}

bool IsImporterType(uint32_t type) {
    return type == FourCC("PICT") || type == FourCC("8BPS") || type == FourCC("PNGf");
}

uint32_t JpegSpace(int components) {
    return components == 1 ? kSpaceGrey : components == 3 ? kSpaceRgb : kSpaceCmyk;
}

bool HighQualityThumbnails() {
    ApplicationState* app = HostService<ApplicationState>();
    return app && app->Preferences().highQualityThumbnails != 0;
}

// The thumbnail the file carries for the codec; null without one.
DibBufferPtr ReadFileThumbnail(CImageObj& item, uint32_t codec) {
    const std::filesystem::path& path = item.GetFilePath();
    switch (codec) {
        case FourCC("raw "): return ReadEpsThumbnail(path);
        case FourCC("8BPS"): return ReadPsdThumbnail(path);
        case FourCC("jpeg"): {
            // The description read only part of the Exif block; the orientation that
            // the automatic rotation follows is read here.
            ExifRecord record = item.GetExif();
            DibBufferPtr thumbnail = ReadJpegMetadata(path, record);
            item.SetExif(std::move(record));
            return thumbnail;
        }
        case FourCC("tiff"): {
            ExifRecord record;
            DibBufferPtr thumbnail;
            if (ReadTiffMetadata(path, record, &thumbnail)) item.SetExif(std::move(record));
            return thumbnail;
        }
        default: return nullptr;
    }
}

// The rectangle a preview is decoded to: the pixel size, its longer side brought down
// to 300, in the item's orientation.
Rect16 PreviewTarget(const ImageDescription& d, int rotate) {
    int w = d.width, h = d.height;
    if (w >= kPreviewSide || h >= kPreviewSide) {
        if (w >= h) {
            h = std::max(1, int(int64_t(kPreviewSide) * h / w));
            w = kPreviewSide;
        } else {
            w = std::max(1, int(int64_t(kPreviewSide) * w / h));
            h = kPreviewSide;
        }
    }
    if (ExchangesSides(rotate)) std::swap(w, h);
    Rect16 target;
    target.Set(0, 0, int16_t(w), int16_t(h));
    return target;
}

}  // namespace

void InitImageObjDefaults(CImageObj& item) {
    item.SetSelected(1);
    item.SetChanged(1);
    item.SetPosition(0, 0);
    item.SetSize(1260, 1260);
    item.SetOnview(0);
    item.SetViewImage({0, 0, 0, 0});
    item.SetDblClickSelected(0);

    item.SetUseZelFile(3);
    item.SetSizeMethod(1);
    item.SetSizeRatioMode(1);
    item.SetSizePixel(item.GetSize());
    item.SetSizeRatio({1000, 1000});
    item.SetCropSizeUnit(2);
    item.SetCropRes(72);
    item.SetLabelLocation(1);
    item.SetLabelFontSize(50);
    item.SetCaptionUpsideDown(1);
    item.SetCaptionFontSize(50);
    item.SetProfileUseEmbed(1);
    item.SetProfileSource(1);
    item.SetProfileIntent(1);
    item.SetEnableColorMatch(1);
    item.SetOffsetFromPageTop(item.GetPosition());

    item.SetFrameColorValue(0x00FFFFFF);
    item.SetCropFrameColor(0);
    item.SetLabelFontColor(0);
    item.SetCaptionFontColor(0);
    item.SetLabelFontName(std::string(kDefaultImageFontFace));
    item.SetCaptionFontName(std::string(kDefaultImageFontFace));
}

CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name) {
    std::unique_ptr<CImageObj> item;
    try {
        item.reset(new CImageObj(true, name));
        if (prototype) {
            item->CopyFrom(*prototype, false);
            item->SetName(name);  // the copy took the prototype's
        } else {
            InitImageObjDefaults(*item);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const WorkingBitmapError&) {
        return nullptr;
    }
    if (list) {
        int16_t number = 1;
        for (CLayoutObj* p = *list; p; p = p->NextItem())
            if (p->GetKind() == kKindImage) {
                const int16_t used = static_cast<CImageObj*>(p)->GetLabelNumber();
                if (used >= number) number = int16_t(used + 1);
            }
        item->SetLabelNumber(number);
        CImageObj* raw = item.get();
        return AppendObject(list, item) ? raw : nullptr;
    }
    return item.release();
}

int OpenImageFile(CImageObj* item, const std::filesystem::path& path) {
    if (!item || item->GetKind() != kKindImage || item->GetType() != kRecordTypeLayout) return 0;

    // Folders, FIFOs and devices never reach a reader, which could block on them.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return 0;

    uint32_t type = 0;
    std::optional<ImportedImageInfo> imported;
    if (DetectImageFileType(path, type) != 0) {
        type = 0;
        if (QuickTimePresent == 1) {
            imported = GetImageOpenHooks().importer(path);
            if (!imported) return 0;
            type = imported->fileType;
            if (type == FourCC("BMPf")) type = FourCC("BMP ");
            if (type == FourCC("EPS ")) type = FourCC("EPSF");
        }
    }
    item->SetFileType(type);

    bool regular = false;
    if (!CheckReadable(path, regular)) return 0;
    if (!regular || !item->TakeFileFacts(path)) return 0;
    item->SetFileEmbedded(0);
    item->SetZelFile(0);

    bool described = false;
    switch (type) {
        case kFileTypeEps: described = ReadEpsInfo(*item); break;
        case kFileTypeJpeg: described = ReadJpegInfo(*item); break;
        case kFileTypeTiff: described = ReadTiffInfo(*item); break;
        case kFileTypeBmp: described = ReadBmpInfo(*item); break;
        default:
            if (!imported || !IsImporterType(type)) return 0;
            if (imported->description.width > kMaxImportedSide || imported->description.height > kMaxImportedSide)
                return 0;
            item->SetDescription(imported->description);
            if (imported->hasEmbeddedProfile) item->SetFileEmbedded(1);
            described = true;
            break;
    }
    if (!described || !item->GetDescription()) return 0;

    const int ok = DetermineColorSpace(*item);
    if ((type == kFileTypeJpeg || type == kFileTypeTiff) && item->GetColorSpace() == kSpaceRgb)
        item->SetZelFile(GetImageOpenHooks().queryZelFile(path));
    return item->GetColorSpace() == kSpaceCmyk ? 0 : ok;
}

int DetermineColorSpace(CImageObj& item) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return 0;
    uint32_t space = 0;
    int depth = d->depth;
    switch (d->codecType) {
        case FourCC("jpeg"): {
            FileByteSource file;
            int width = 0, height = 0, components = 0;
            if (!file.Open(item.GetFilePath()) || !ReadJpegFrameHeader(file, width, height, components)) return 0;
            space = JpegSpace(components);
            depth = components * 8;
            break;
        }
        case FourCC("8BPS"): {
            FileByteSource file;
            uint16_t psdDepth = 0;
            if (!file.Open(item.GetFilePath()) || !ReadPsdHeader(file, space, psdDepth)) return 0;
            depth = psdDepth;
            break;
        }
        case FourCC("tiff"): {
            FileByteSource file;
            if (!file.Open(item.GetFilePath()) || !ReadTiffColorSpace(file, space)) return 0;
            break;
        }
        case FourCC("EFF "): space = kSpaceRgb; break;
        case FourCC("raw "):
            if (depth == 16) return 0;
            space = depth >= 32 ? kSpaceCmyk : depth >= 24 ? kSpaceRgb : kSpaceGrey;
            break;
        default:
            // Palette pictures of 1 and 4 bits may be in colour: the preview decides.
            space = kSpaceRgb;
            break;
    }
    item.SetColorSpace(space);
    item.SetColorDepth(int16_t(depth));
    return 1;
}

DibBufferPtr LoadImagePreview(CImageObj& item) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return nullptr;
    const int rotate = item.GetRotate();
    // JPEG and TIFF files are read even when high quality leaves their thumbnail unused:
    // the item's Exif record (the orientation the automatic rotation follows, the labels)
    // comes with it.
    const bool highQuality = HighQualityThumbnails();
    const bool carriesExif = d->codecType == FourCC("jpeg") || d->codecType == FourCC("tiff");
    DibBufferPtr preview;
    if (!highQuality || carriesExif) preview = ReadFileThumbnail(item, d->codecType);
    if (highQuality) preview.reset();
    if (preview) {
        if (rotate != 0 && !TransformPixelBuffer(preview, rotate)) {
            Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
            return nullptr;
        }
    } else {
        Rect16 target = PreviewTarget(*d, rotate);
        preview = LoadPictureBuffer(item, kPictureModePreview, target);
    }
    if (!preview) return nullptr;
    item.SetColorBright(int16_t(MeanChannelValue(preview.get())));
    if (item.GetColorDepth() <= 8 && item.GetColorSpace() == kSpaceRgb)
        item.SetColorSpace(DetectGreyPreview(preview.get()));
    return preview;
}

uint32_t DetectGreyPreview(const DibBuffer* dib) {
    const uint8_t* bits = DibBuffer::GetBits(dib);
    const Rect16 rect = DibBuffer::GetRect(dib);
    if (!bits || rect.Width() <= 0 || rect.Height() <= 0) return kSpaceGrey;
    const int32_t rowBytes = DibBuffer::GetRowBytes(dib);
    for (int y = 0; y < rect.Height(); ++y) {
        const uint8_t* p = bits + int64_t(y) * rowBytes;
        for (int x = 0; x < rect.Width(); ++x, p += 4)
            if (p[0] != p[1] || p[1] != p[2]) return kSpaceRgb;
    }
    return kSpaceGrey;
}

void EnsureWorkingBitmap(CImageObj& item) {
    if (item.GetKind() != kKindImage || item.IsSaveFile() != 0) return;
    if (!item.SetWorkingBitmap(LoadImagePreview(item))) return;
    const CLayoutSetting* layout = item.GetOwner();
    if (layout && layout->GetColor() != 2) ConvertToGrey(item, false);
    item.SetColorModeMark(0);
}

void DeleteLayoutObject(CLayoutObj* item, CLayoutObj** list) {
    if (!item) return;
    if (list) {
        int index = 0;
        for (CLayoutObj* p = *list; p; p = p->NextItem(), ++index)
            if (p == item) {
                (void)RemoveObjectAt(list, index).release();
                break;
            }
    }
    delete item;
}

}  // namespace vx
