#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>

#include "imaging/DibBuffer.h"
#include "imaging/Rect16.h"
#include "zel/ZelEngine.h"
#include "zel/ZelLines.h"

namespace vx {

class CImageObj;

/// The file's Zel level when it is at least 2, else 0 (also when the engine cannot
/// open it or tell its level).
int16_t QueryZelFile(ZelEngine& engine, const std::filesystem::path& path);

/// Feeds the lines (bottom row first) as the engine's input; true when the engine took
/// them or said it needs none.
bool ZelFeedInput(ZelEngine& engine, ZelHandle handle, const uint8_t* rows, int width, int height,
                  int components);

/// The engine's output of width x height lines; null when a call fails, when the engine
/// offers more lines than are left, or when it stops making progress.
std::unique_ptr<uint8_t[]> ZelReadOutput(ZelEngine& engine, ZelHandle handle, int width, int height,
                                         int components);

/// The item's JPEG or TIFF file converted through Zel in the item's `mUseZelFile` mode,
/// at the target's size when one is given (sides below 1 count as 1). A mode the engine
/// refuses becomes the file's `mZelFile`; a file that gives no pixels sets
/// `mUseZelFile` to 0. Null on failure; messageId is set only when the engine cannot
/// open the file: 10417 unreadable, 10413 out of memory, 10526 anything else.
DibBufferPtr ZelConvertImage(ZelEngine& engine, CImageObj& item, const Rect16* target, int& messageId);

/// The reference of the tune pass: "01.tif" in the data folder.
std::filesystem::path ZelReferencePath();

/// The Zel tune pass over a decoded picture with the reference file: a new buffer of
/// the same size that keeps the picture's alpha; the caller keeps the buffer it gave.
/// Null on failure with messageId set: 10417 when the reference is missing or
/// damaged, 10413 otherwise.
DibBufferPtr ZelTunePass(ZelEngine& engine, const DibBuffer* buffer, const CImageObj& item,
                         const std::filesystem::path& reference, int& messageId);

/// The engine the program uses (the stand-in, StandInZelEngine.h).
ZelEngine& InstalledZelEngine();

/// Binds Zel into image opening (the level of a file) and picture loading (conversion
/// and tune pass); called at start-up.
void InstallZel();

}  // namespace vx
