#include "printing/PrinterQueries.h"

#include "platform/driver/ModelCatalogue.h"
#include "printing/CPrinterManager.h"

namespace vx {

int GetDefaultPrinterName(std::string& name) {
    CPrinterManager* manager = CPrinterManager::GetInstance();
    return manager && manager->DefaultPrinterName(name) ? 1 : 0;
}

int32_t FindNearestPaperSize(int32_t width, int32_t height, bool swap, int mode, int32_t& paperWidth,
                             int32_t& paperHeight) {
    paperWidth = paperHeight = 0;
    CPrinterManager* manager = CPrinterManager::GetInstance();
    return manager ? manager->FindNearestPaperSize(width, height, swap, mode, paperWidth, paperHeight) : 0;
}

int GetPrinterModelClass(std::string_view modelName) {
    if (modelName.empty()) return 0;
    std::shared_ptr<const PrinterModel> model = ModelCatalogue::Shipped().Find(modelName);
    return model ? model->modelClass : 1;
}

int32_t QueryPrinterPaperCaps(CPrinterManager& manager, int32_t& paperLength, int32_t& paperWidth, int32_t banner,
                              int32_t paperOrient, LayoutPoint paper) {
    return manager.FindNearestPaperSize(paper.x, paper.y, paperOrient != 0, banner, paperWidth, paperLength);
}

int32_t QueryPrinterPaperCaps(int32_t& paperLength, int32_t& paperWidth, int32_t banner, int32_t paperOrient,
                              LayoutPoint paper) {
    CPrinterManager* manager = CPrinterManager::GetInstance();
    if (!manager) {
        paperLength = paperWidth = 0;
        return 0;
    }
    return QueryPrinterPaperCaps(*manager, paperLength, paperWidth, banner, paperOrient, paper);
}

}  // namespace vx
