#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "imaging/DibBuffer.h"

namespace vx {

class CImageObj;
class CLayoutObj;
class CLayoutSetting;
class UndoStore;

/// What AddImageFilesToLayout did.
enum AddImageResult : int {
    kAddNothing = 0,          // nothing added; no message, except a file that cannot be opened
    kAddDone = 1,
    kAddRemovedAgain = 2,     // placed, refused by the relayout and removed (15168 or 59450 shown)
    kAddSizeOutOfRange = 3,   // 10444 shown
    kAddOutOfMemory = 5,      // 10413 shown
    kAddItemLimit = 6,        // 59430 shown
};

/// Adds the image file at path to layout as a new image item made from its "BaseImage":
/// opens and identifies it, checks the pixel, memory and item limits, sizes it, builds
/// its preview, turns it by the layout's automatic rotation, places it and lays the
/// layout out again; on success the layout is dirty and the undo store's last code is
/// 36. Every refusal removes the new item again and leaves the layout as it was. The
/// caller numbers the images (RenumberImageItems).
AddImageResult AddImageFilesToLayout(CLayoutSetting* layout, const std::filesystem::path& path, UndoStore& undo);

/// A new image item named name: a copy of prototype's settings (without its description
/// and bitmap), or the defaults without one. With a list it gets the number above the
/// highest image number of the list and is appended to it. Null when memory runs out.
CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name);

/// The defaults of an image item made without a prototype.
void InitImageObjDefaults(CImageObj& item);

/// Identifies the file at path and fills the item's file facts, description, Exif
/// record and colour space. 0 for an item that is no loaded image item (kind 1, type 2),
/// a path that is no regular file, a type no reader takes, a file that cannot be read,
/// and a CMYK picture; only a file that cannot be opened is shown (19101, with the
/// system's reason). Nonzero on success.
int OpenImageFile(CImageObj* item, const std::filesystem::path& path);

/// Sets `mColorSpace` and `mColorDepth` from the item's description and file; 0 when
/// the file cannot be read for it or is an EPS of 16 bits per pixel.
int DetermineColorSpace(CImageObj& item);

/// The item's preview: the file's own thumbnail (unless the high-quality preference is
/// on), else the picture decoded to at most 300 pixels on its longer side, in the item's
/// orientation. Sets `mColorBright`, and marks 8-bit-or-less RGB pictures with only grey
/// pixels 'GRAY'. Null when nothing could be decoded (the loader has shown why).
DibBufferPtr LoadImagePreview(CImageObj& item);

/// 'GRAY' when every pixel's blue, green and red are equal (also for an empty or null
/// buffer), else 'RGB '.
uint32_t DetectGreyPreview(const DibBuffer* dib);

/// Sets an image item's colour-management values from its layout: source profile,
/// intent, embedded profile and Zel use by its colour space, and the simulation.
void ApplyLayoutColorSettings(CImageObj& item);

/// The orientation code for the layout's automatic rotation mode: 0 none, 1 the Exif
/// orientation, 2 to 5 portrait or landscape turned clockwise or counter-clockwise.
int ChooseAutoRotation(const CImageObj& item, int mode);

/// The closing steps of adding an item: recounts the pages; for an image without a
/// stored bitmap clears the colour-mode mark (grey layouts convert first); shows an image
/// in the view; lays the layout out and repaints its view at once.
void FinishAddedImage(CLayoutObj& item);

/// Builds the working bitmap of an item read from a layout file when it has none yet
/// (grey for a grey layout).
void EnsureWorkingBitmap(CImageObj& item);

/// Rebuilds the item's label text and automatic caption font size.
void RecalcFrameCaption(CImageObj& item);

/// Unlinks the item from list (when given and the item is in it), then deletes it.
void DeleteLayoutObject(CLayoutObj* item, CLayoutObj** list);

}  // namespace vx
