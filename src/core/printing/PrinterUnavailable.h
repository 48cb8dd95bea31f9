#pragma once
#include <stdexcept>
#include <string>

namespace vx {

/// A printer that cannot be opened or made the application's printer (its queue went
/// away, or the spooler is gone). Expected: callers show 19601 with the name and go on.
class PrinterUnavailable : public std::runtime_error {
public:
    explicit PrinterUnavailable(std::string printer)
        : std::runtime_error("printer unavailable: " + printer), mPrinter(std::move(printer)) {}
    const std::string& Printer() const { return mPrinter; }

private:
    std::string mPrinter;
};

}  // namespace vx
