#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/driver/DriverItem.h"
#include "platform/spool/PrintDevice.h"

namespace vx {

struct PrintQueue;

/// The module's number for one open printer; 0 is none.
using DriverHandle = uint32_t;

/// Results of the item calls and of Open besides 0 (accepted).
constexpr int kDriverRefused = 1;   // the printer cannot take or answer it
constexpr int kDriverNoHandle = -1; // no printer is open under that handle
/// Open's refusals.
constexpr int kOpenBadMode = 1;      // a mode other than 0 and 2, or mode 2 without a record
constexpr int kOpenBadSettings = 2;  // mode 2 with a record the model refuses

/// The driver information: family code (0x30 for supported printers) and model name.
struct DriverInfo {
    uint16_t family = 0;
    std::string model;
};

/// The twelve operations of a printer's setup module, in the order of its interface.
enum class DriverOperation {
    Open, GetDriverInfo, GetCommandLevel, GetRange, GetData, SetData,
    CreateDC, ResetDC, DeleteDC, GetDevMode, UpdateDevMode, Close,
};
const char* DriverOperationName(DriverOperation op);

/// A printer's setup module: keeps the current settings of each printer opened through
/// it and answers the numbered data items. Every call after Open names the printer by
/// the driver handle that Open handed out; a call with any other handle fails.
class DriverModule {
public:
    virtual ~DriverModule() = default;

    /// False for an operation the module lacks (a module missing any is unusable).
    virtual bool Provides(DriverOperation) const { return true; }

    /// Opens a printer. Mode 0 starts from the model's defaults, mode 2 from `settings`
    /// (a settings record). 0 and a nonzero handle on success.
    virtual int Open(std::string_view printer, std::string_view port, int mode,
                     const std::string* settings, DriverHandle& handle) = 0;
    /// 1 or more with `info` filled.
    virtual int GetDriverInfo(DriverHandle handle, DriverInfo& info) = 0;
    /// -1 for an item the printer lacks.
    virtual int GetCommandLevel(DriverHandle handle, DriverItem item) = 0;
    /// What the printer offers for the item; `query` carries the item's arguments.
    virtual int GetRange(DriverHandle handle, DriverItem item, const DriverWords& query,
                         DriverValue& range) = 0;
    virtual int GetData(DriverHandle handle, DriverItem item, const DriverWords& query,
                        DriverValue& value) = 0;
    /// 0 when the printer keeps the value; otherwise nothing changes.
    virtual int SetData(DriverHandle handle, DriverItem item, const DriverWords& value) = 0;
    /// A device for the current settings, or null.
    virtual std::unique_ptr<PrintDevice> CreateDC(DriverHandle handle) = 0;
    /// Makes a device describe the current settings; nonzero on success.
    virtual int ResetDC(DriverHandle handle, PrintDevice& device) = 0;
    /// Frees a device made by CreateDC; nonzero on success.
    virtual int DeleteDC(DriverHandle handle, std::unique_ptr<PrintDevice> device) = 0;
    /// The settings record of the current settings; empty without an open printer.
    virtual std::string GetDevMode(DriverHandle handle) = 0;
    /// Takes the settings of a record as a whole, or refuses it and changes nothing.
    virtual int UpdateDevMode(DriverHandle handle, const std::string& settings) = 0;
    /// Nonzero when the handle is closed.
    virtual int Close(DriverHandle handle) = 0;
};

/// Finds the setup module of a queue's printer model, in place of loading the library
/// beside the printer's driver.
class DriverModuleLocator {
public:
    virtual ~DriverModuleLocator() = default;
    /// Null when no module drives the queue's model.
    virtual std::unique_ptr<DriverModule> Load(const PrintQueue& queue) = 0;
};

}  // namespace vx
