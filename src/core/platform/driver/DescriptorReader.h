#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/driver/PrinterModel.h"

namespace vx {

/// Why a printer-model descriptor is refused.
enum class DescriptorFault {
    None,
    Unreadable,
    NotWellFormed,
    NotADescriptor,
    UnknownFormat,
    BadValue,
    BadName,
    BadFamily,
    BadClass,
    BadResolution,
    UnknownItem,
    IdOutOfRange,
    RepeatedId,
    UserDefinedPaper,
    PaperSideOutOfRange,
    PaperTooLargeForItem30,
    MissingName,
    SourceWithoutPapers,
    SourceWithoutMedia,
    UnknownPaper,
    UnknownMedium,
    RollSourceId,
    BorderlessSourceId,
    BorderlessMargins,
    RollOptionsNotOnRoll,
    MediumWithoutProfile,
    MediumWithoutInk,
    UnknownInk,
    BadModeCount,
    NoPrintableArea,
    NothingDescribed,
    BadLargestPaper,
    RepeatedModel,
};

/// A short English reason, for the stderr line.
const char* DescriptorFaultText(DescriptorFault fault);

struct DescriptorProblem {
    DescriptorFault fault = DescriptorFault::None;
    int line = 0;        // in the descriptor; 0 when unknown
    std::string detail;  // the attribute, id or name concerned

    bool ok() const { return fault == DescriptorFault::None; }
};

/// Reads printer-model descriptors: XML, root element "printer-model" with format="1";
/// unknown elements and attributes are ignored so that later formats can add to them.
class DescriptorReader {
public:
    /// Reads and checks one file; on a problem `model` is unspecified.
    static DescriptorProblem Read(const std::filesystem::path& file, PrinterModel& model);
    /// Reads text without checking what it describes.
    static DescriptorProblem Parse(std::string_view xml, PrinterModel& model);
};

}  // namespace vx
