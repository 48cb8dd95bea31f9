#pragma once
#include <cstdint>

#include "model/LayoutTypes.h"

namespace vx {

/// Services of printer setup that the document calls. Implemented where the dialogs
/// live (HostService<PrinterSetupServices>); without one nothing runs.
class PrinterSetupServices {
public:
    virtual ~PrinterSetupServices() = default;

    /// Runs the output colour-management dialog on the layout bound in the printer
    /// manager; true when the user accepted. It writes the monitor and printer profile
    /// descriptions, `mColorMatchPrinter` and `mRecommend`.
    virtual bool RunOutputColorDialog() = 0;
    /// The paper-size id that the printer offers for these values, 0 when none.
    virtual int QueryPrinterPaperCaps(int32_t paperLength, int32_t paperWidth, bool banner,
                                      int32_t paperOrientation, LayoutPoint paper) = 0;
};

}  // namespace vx
