#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/spool/PrintQueue.h"

namespace vx {

class PrintDevice;
class MessagePort;
namespace gfx {
class Canvas;
class LazyImageKeeper;
}

/// One print job on a queue, in place of a spooler document: pages are drawn on a page
/// canvas in device pixels, written as PDF into a part or spool file, and at the end moved
/// into the file queue's folder or handed to CUPS. Nothing half-written stays behind.
class SpoolJob {
public:
    virtual ~SpoolJob() = default;

    /// Opens the output. Negative on failure (the message is already shown).
    virtual int StartDoc(const std::string& title) = 0;
    /// The canvas of the next page, in device pixels from the printable offset; null on failure.
    virtual gfx::Canvas* StartPage() = 0;
    /// Writes the page. False on failure (the message is already shown; nothing stays) or
    /// when the pump reported a cancel (no message).
    virtual bool EndPage() = 0;
    /// Delivers the document. False on failure (the message is already shown; nothing stays)
    /// or on a cancel while it is handed over (no message; a begun CUPS job is cancelled).
    virtual bool EndDoc() = 0;
    /// Drops everything written so far and sends nothing. Safe to call more than once.
    virtual void AbortDoc() = 0;
    /// The keeper that lazy pictures drawn on this job's pages are made with (they are
    /// read when EndPage writes the page); null before StartDoc and after the end.
    virtual gfx::LazyImageKeeper* Lazy() = 0;
    /// Bytes written into the part or spool file so far.
    virtual std::uint64_t BytesWritten() const = 0;
    /// The queue takes only raw data (a CUPS queue without a driver); never a file queue.
    virtual bool IsRawOnly() const = 0;
};

/// Called while pages are written, at most every 50 ms; false cancels the job.
using SpoolPump = std::function<bool()>;

/// The job for a queue and the device made for it. The device must outlive the job.
std::unique_ptr<SpoolJob> CreateSpoolJob(const PrintQueue& queue, const PrintDevice& device,
                                         MessagePort& messages, SpoolPump pump);

}  // namespace vx
