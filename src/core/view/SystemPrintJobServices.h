#pragma once
#include <functional>
#include <memory>

#include "view/PrintJob.h"

namespace vx {

class CPrinterManager;
class QueueSource;

/// The print job's services of the running program: the printer manager's current
/// printer and settings record, the device made from them, the system's queue of that
/// name, and spool jobs on it. The status window comes from the window side.
class SystemPrintJobServices final : public PrintJobServices {
public:
    using WindowFactory = std::function<std::unique_ptr<PrintStatusWindow>()>;

    /// Null manager or queues: the process's printer manager and queues, looked up at
    /// each job.
    explicit SystemPrintJobServices(WindowFactory windows = {}, CPrinterManager* manager = nullptr,
                                    QueueSource* queues = nullptr);

    std::optional<PrintSetup> ProvideDevice(CLayoutSetting& layout) override;
    std::unique_ptr<SpoolJob> CreateJob(const PrintSetup& setup, MessagePort& messages, SpoolPump pump) override;
    std::unique_ptr<PrintStatusWindow> CreateStatusWindow() override;

private:
    WindowFactory mWindows;
    CPrinterManager* mManager;
    QueueSource* mQueues;
};

}  // namespace vx
