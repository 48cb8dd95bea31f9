#include "platform/spool/SpoolJob.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>

#include "platform/gfx/PdfDocument.h"
#include "platform/spool/CupsSubmission.h"
#include "platform/spool/PrintDevice.h"
#include "platform/spool/SpoolFile.h"
#include "platform/system/FileDescriptor.h"
#include "platform/system/Folders.h"
#include "platform/system/MessagePort.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr size_t kTitleCodePoints = 31;
constexpr auto kPumpInterval = std::chrono::milliseconds(50);
// Beyond this many proofs of one title something else is wrong with the folder.
constexpr int kMaxNumberedNames = 9999;

std::string CleanTitle(const std::string& title) {
    std::string t = TruncateCodePoints(ToUtf8FromUtf8OrLatin1(title), kTitleCodePoints);
    for (char& c : t)
        if (c == '/' || c == '\0') c = '_';
    return t;
}

std::string NumberedName(const std::string& title, int n) {
    return n == 1 ? title + ".pdf" : title + " (" + std::to_string(n) + ").pdf";
}

// The process's umask, read without changing it (umask() would, for every thread).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

// Gives the part file its first free name; never replaces a file. Empty on failure.
std::string MoveToFreeName(int folder, const std::string& part, const std::string& title) {
    for (int n = 1; n <= kMaxNumberedNames; ++n) {
        const std::string name = NumberedName(title, n);
        if (::renameat2(folder, part.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) return name;
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) return {};
        // A file system without RENAME_NOREPLACE: a hard link refuses an existing name too.
        if (::linkat(folder, part.c_str(), folder, name.c_str(), 0) == 0) {
            ::unlinkat(folder, part.c_str(), 0);
            return name;
        }
        if (errno != EEXIST) return {};
    }
    errno = EEXIST;
    return {};
}

class SpoolJobImpl final : public SpoolJob {
public:
    SpoolJobImpl(const PrintQueue& queue, const PrintDevice& device, MessagePort& messages, SpoolPump pump)
        : mQueue(queue), mDevice(device), mMessages(messages), mPump(std::move(pump)) {}
    ~SpoolJobImpl() override { AbortDoc(); }

    int StartDoc(const std::string& title) override;
    gfx::Canvas* StartPage() override;
    bool EndPage() override;
    bool EndDoc() override;
    void AbortDoc() override;
    gfx::LazyImageKeeper* Lazy() override { return mDoc ? &mDoc->Lazy() : nullptr; }
    std::uint64_t BytesWritten() const override { return mFile.Bytes(); }
    bool IsRawOnly() const override {
        return mQueue.kind == QueueKind::Cups && mQueue.makeAndModel == "Local Raw Printer";
    }

private:
    bool IsFileQueue() const { return mQueue.kind == QueueKind::File; }
    fs::path SpoolFolder() const { return IsFileQueue() ? fs::path(mQueue.port) : TempFolder(); }
    bool OnWrite(const uint8_t* data, size_t size);
    // A failed write or page: shows why (not for a cancel) and drops the output.
    bool Fail(gfx::PdfStatus status);
    bool DeliverToFolder();
    bool DeliverToCups();
    void ShowNotStarted() { mMessages.Show(IDS_PRINT_JOB_NOT_STARTED, {}, Icon::Error, Buttons::Ok); }

    PrintQueue mQueue;
    const PrintDevice& mDevice;
    MessagePort& mMessages;
    SpoolPump mPump;

    std::string mTitle;
    SpoolFile mFile;
    std::unique_ptr<gfx::PdfDocument> mDoc;
    bool mPageOpen = false;
    bool mCancelled = false;
    bool mWriterClosed = false;
    std::chrono::steady_clock::time_point mLastPump;
};

int SpoolJobImpl::StartDoc(const std::string& title) {
    if (mDoc) return -1;
    mCancelled = false;
    mWriterClosed = false;
    mTitle = CleanTitle(title);
    const DeviceCaps& caps = mDevice.Caps();
    if (caps.logPixelsX <= 0 || caps.logPixelsY <= 0 || caps.physicalWidth <= 0 || caps.physicalHeight <= 0) {
        ShowNotStarted();
        return -1;
    }
    bool created = false;
    if (IsFileQueue()) {
        std::error_code ec;
        if (mQueue.port.empty()) {
            ShowNotStarted();
            return -1;
        }
        fs::create_directories(mQueue.port, ec);
        // A hidden part file beside the proof, so that the final rename stays in one folder.
        created = !ec && mFile.Create(mQueue.port, "." + mTitle + ".", ".part");
    } else {
        created = mFile.Create(TempFolder(), "spool-", ".pdf");
    }
    if (!created) {
        ShowNotStarted();
        return -1;
    }
    mLastPump = std::chrono::steady_clock::now();
    mDoc = std::make_unique<gfx::PdfDocument>([this](const uint8_t* d, size_t n) { return OnWrite(d, n); });
    return 1;
}

bool SpoolJobImpl::OnWrite(const uint8_t* data, size_t size) {
    if (mCancelled || mWriterClosed) return false;
    if (mPump) {
        const auto now = std::chrono::steady_clock::now();
        if (now - mLastPump >= kPumpInterval) {
            mLastPump = now;
            if (!mPump()) {
                mCancelled = true;
                return false;
            }
        }
    }
    return mFile.Write(data, size);
}

gfx::Canvas* SpoolJobImpl::StartPage() {
    if (!mDoc || mPageOpen) return nullptr;
    const DeviceCaps& caps = mDevice.Caps();
    const double ppiX = caps.logPixelsX, ppiY = caps.logPixelsY;
    gfx::Canvas* canvas = mDoc->BeginPage(caps.physicalWidth * 72.0 / ppiX, caps.physicalHeight * 72.0 / ppiY, ppiX);
    if (!canvas) return nullptr;
    mPageOpen = true;
    if (ppiY != ppiX) canvas->Scale(1.0, ppiX / ppiY);
    // Device pixels count from the printable area, as on a printer's device context.
    canvas->Translate(caps.physicalOffsetX, caps.physicalOffsetY);
    if (caps.printableWidth > 0 && caps.printableHeight > 0)
        canvas->ClipRect({0, 0, double(caps.printableWidth), double(caps.printableHeight)});
    return canvas;
}

bool SpoolJobImpl::Fail(gfx::PdfStatus status) {
    const bool cancelled = mCancelled;
    const bool memory = status == gfx::PdfStatus::DrawFailed;
    AbortDoc();
    if (cancelled) return false;
    if (memory)
        mMessages.Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    else
        mMessages.Show(IDS_PRINT_DATA_NOT_SAVED, {SpoolFolder().string()}, Icon::Error, Buttons::Ok);
    return false;
}

bool SpoolJobImpl::EndPage() {
    if (!mDoc || !mPageOpen) return false;
    mPageOpen = false;
    gfx::PdfStatus st = mDoc->EndPage();
    // Written now, so that a full disk shows on the page that filled it.
    if (st == gfx::PdfStatus::Ok && !mFile.Flush()) st = gfx::PdfStatus::WriteFailed;
    if (st != gfx::PdfStatus::Ok) return Fail(st);
    return true;
}

bool SpoolJobImpl::EndDoc() {
    if (!mDoc) return false;
    if (mPageOpen) {
        mPageOpen = false;
        if (gfx::PdfStatus st = mDoc->EndPage(); st != gfx::PdfStatus::Ok) return Fail(st);
    }
    gfx::PdfStatus st = mDoc->Finish();
    if (st == gfx::PdfStatus::Ok && !mFile.Sync()) st = gfx::PdfStatus::WriteFailed;
    if (st != gfx::PdfStatus::Ok) return Fail(st);
    mDoc.reset();
    return IsFileQueue() ? DeliverToFolder() : DeliverToCups();
}

bool SpoolJobImpl::DeliverToFolder() {
    const std::string part = mFile.Path().filename().string();
    // The part file was private while it was incomplete; the proof gets the mode any
    // new file of the user gets.
    ::fchmod(mFile.Fd(), 0666 & ~CurrentUmask());
    FileDescriptor folder(::open(mQueue.port.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0 || MoveToFreeName(folder.Get(), part, mTitle).empty()) {
        mFile.Discard();
        mMessages.Show(IDS_PRINT_DATA_NOT_SAVED, {mQueue.port}, Icon::Error, Buttons::Ok);
        return false;
    }
    mFile.Keep();
    // The proof's name reaches the disk too; the data are there already.
    ::fsync(folder.Get());
    return true;
}

bool SpoolJobImpl::DeliverToCups() {
    const DeviceCaps& caps = mDevice.Caps();
    const CupsMedia media{int(std::lround(caps.physicalWidth * 2540.0 / caps.logPixelsX)),
                          int(std::lround(caps.physicalHeight * 2540.0 / caps.logPixelsY))};
    const CupsSubmitResult r = SubmitToCups(mQueue.name, mFile.Fd(), mTitle, media, mPump);
    mFile.Discard();
    if (r.kind == CupsSubmitResult::Kind::Delivered) return true;
    if (r.kind == CupsSubmitResult::Kind::Failed)
        mMessages.Show(IDS_PRINT_JOB_NOT_SUBMITTED, {mQueue.name, r.error}, Icon::Error, Buttons::Ok);
    return false;
}

void SpoolJobImpl::AbortDoc() {
    // The document is dropped before its file, so nothing more is written into it.
    mWriterClosed = true;
    mDoc.reset();
    mPageOpen = false;
    mFile.Discard();
}

}  // namespace

std::unique_ptr<SpoolJob> CreateSpoolJob(const PrintQueue& queue, const PrintDevice& device, MessagePort& messages,
                                         SpoolPump pump) {
    return std::make_unique<SpoolJobImpl>(queue, device, messages, std::move(pump));
}

}  // namespace vx
