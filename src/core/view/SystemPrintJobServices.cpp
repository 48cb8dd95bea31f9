#include "view/SystemPrintJobServices.h"

#include "host/HostService.h"
#include "host/ViewServices.h"
#include "platform/spool/QueueSource.h"
#include "printing/CPrinterManager.h"

namespace vx {

SystemPrintJobServices::SystemPrintJobServices(WindowFactory windows, CPrinterManager* manager, QueueSource* queues)
    : mWindows(std::move(windows)), mManager(manager), mQueues(queues) {}

std::optional<PrintSetup> SystemPrintJobServices::ProvideDevice(CLayoutSetting& layout) {
    CPrinterManager* manager = mManager ? mManager : CPrinterManager::GetInstance();
    if (!manager || manager->CurrentPrinter().empty()) return std::nullopt;
    PrintSetup setup;
    if (manager->GetDevMode(&setup.settings) < 1) return std::nullopt;
    if (ViewServices* view = HostService<ViewServices>()) view->FormatHeaderFooterText(0, layout);
    setup.device = manager->CreatePrinterDC();
    if (!setup.device) return std::nullopt;
    QueueSource& queues = mQueues ? *mQueues : SystemQueues();
    std::optional<PrintQueue> queue = queues.FindQueue(manager->CurrentPrinter());
    if (!queue) return std::nullopt;
    setup.queue = std::move(*queue);
    return setup;
}

std::unique_ptr<SpoolJob> SystemPrintJobServices::CreateJob(const PrintSetup& setup, MessagePort& messages,
                                                            SpoolPump pump) {
    return CreateSpoolJob(setup.queue, *setup.device, messages, std::move(pump));
}

std::unique_ptr<PrintStatusWindow> SystemPrintJobServices::CreateStatusWindow() {
    return mWindows ? mWindows() : nullptr;
}

}  // namespace vx
