#pragma once
#include <functional>
#include <string>

namespace vx {

/// What handing a print file to CUPS came to.
struct CupsSubmitResult {
    enum class Kind { Delivered, Failed, Cancelled };
    Kind kind = Kind::Failed;
    /// CUPS's own words for a failure.
    std::string error;
};

/// The page size a CUPS job asks for, in hundredths of a millimetre.
struct CupsMedia {
    int width = 0;
    int length = 0;
};

/// The PWG media name of a page size: a standard size within CUPS's tolerance, else a
/// custom size name.
std::string CupsMediaName(const CupsMedia& media);

/// Sends the PDF open as fd to the CUPS queue as one job, with the printing system's
/// colour management and scaling switched off. Every wait on the server is bounded;
/// pump is asked at most every 50 ms while the file goes out and false cancels (the
/// begun job is cancelled on the server too). A job that did not get through whole is
/// cancelled.
CupsSubmitResult SubmitToCups(const std::string& queue, int fd, const std::string& title,
                              const CupsMedia& media, const std::function<bool()>& pump);

}  // namespace vx
