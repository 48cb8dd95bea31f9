#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/driver/DriverItem.h"
#include "platform/driver/DriverModule.h"
#include "platform/spool/PrintDevice.h"
#include "platform/spool/QueueSource.h"
#include "printing/DriverInfoRecord.h"

namespace vx {

/// Binds the setup module of one printer at a time: looks the queue up, loads the module
/// of its model, opens and closes the module's printer and forwards the calls with the
/// driver handle. Whatever a failed bind or open took is released before it returns,
/// and no call reaches the module without an open driver handle.
class CDriverModule {
public:
    /// Longest printer name, in characters with the terminator.
    static constexpr size_t kMaxNameChars = 260;

    /// On this machine's queues and the shipped models.
    CDriverModule();
    CDriverModule(QueueSource& queues, DriverModuleLocator& modules);
    ~CDriverModule();
    CDriverModule(const CDriverModule&) = delete;
    CDriverModule& operator=(const CDriverModule&) = delete;

    /// 0 when the queue is held and its module provides all twelve operations, else -1.
    int Bind(std::string_view printerName);
    /// Bind, then the module's Open (mode 0 fresh, mode 2 from `devMode`): 0 when open,
    /// -1 when binding fails, else the module's refusal (after unloading).
    int OpenDriver(int mode, const std::string* devMode, std::string_view printerName);
    /// Closes the driver handle when one is open, then unloads: 1; 0 when the module
    /// refuses to close (everything is then kept).
    int CloseDriver();
    /// Lets the module and the queue go (an open driver handle is closed first); 1.
    int Unload();

    /// Filled when the result is 1 or more.
    int GetDriverInfo(DriverInfoRecord* record);
    /// -1 for an item the printer lacks.
    int GetCommandLevel(DriverItem item);
    /// 0 on success.
    int GetRange(DriverItem item, const DriverWords& query, DriverValue& range);
    int GetRange(DriverItem item, DriverValue& range) { return GetRange(item, {}, range); }
    int GetData(DriverItem item, const DriverWords& query, DriverValue& value);
    int GetData(DriverItem item, DriverValue& value) { return GetData(item, {}, value); }
    int SetData(DriverItem item, const DriverWords& value);
    /// A device for the current settings, owned by the caller; null on failure.
    std::unique_ptr<PrintDevice> CreateDC();
    /// Gives a device from CreateDC back to the module; nonzero on success.
    int DeleteDC(std::unique_ptr<PrintDevice> device);
    /// The settings record's size in bytes (below 1: none); fills `buffer` when given.
    int GetDevMode(std::string* buffer);

    bool IsBound() const { return mModule != nullptr; }
    DriverHandle Handle() const { return mHandle; }
    const std::string& PrinterName() const { return mPrinterName; }
    const std::string& PortName() const { return mPortName; }

private:
    QueueSource& mQueues;
    DriverModuleLocator& mModules;
    std::unique_ptr<QueueHandle> mQueue;
    std::unique_ptr<DriverModule> mModule;
    DriverHandle mHandle = 0;
    std::string mPrinterName, mPortName;
};

}  // namespace vx
