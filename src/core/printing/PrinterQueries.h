#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/LayoutTypes.h"

namespace vx {

class CPrinterManager;

// Printer questions of the program's one printer manager (CPrinterManager::GetInstance);
// without a manager they answer 0.

/// The application's printer, else the default queue; 0 when there is none.
int GetDefaultPrinterName(std::string& name);

/// CPrinterManager::FindNearestPaperSize.
int32_t FindNearestPaperSize(int32_t width, int32_t height, bool swap, int mode, int32_t& paperWidth,
                             int32_t& paperHeight);

/// 0 for an empty name, the class (1, 2 or 3) of the shipped model of that name, 1 for
/// a name no model has.
int GetPrinterModelClass(std::string_view modelName);

/// The paper id the default printer offers for a layout's paper (1/360 inch), its
/// orientation flag as the swap and its banner flag as the mode; 256 when only a
/// user-defined paper takes it, 0 when none. The paper's size (0.1 mm) goes into
/// paperWidth and paperLength.
int32_t QueryPrinterPaperCaps(int32_t& paperLength, int32_t& paperWidth, int32_t banner, int32_t paperOrient,
                              LayoutPoint paper);
int32_t QueryPrinterPaperCaps(CPrinterManager& manager, int32_t& paperLength, int32_t& paperWidth, int32_t banner,
                              int32_t paperOrient, LayoutPoint paper);

}  // namespace vx
