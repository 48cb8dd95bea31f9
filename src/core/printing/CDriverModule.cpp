#include "printing/CDriverModule.h"

#include <cstring>

#include "platform/driver/DescribedModuleLocator.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

// The order in which a binding looks for the module's operations.
constexpr DriverOperation kBindOrder[] = {
    DriverOperation::Open,       DriverOperation::GetDriverInfo, DriverOperation::GetCommandLevel,
    DriverOperation::Close,      DriverOperation::GetData,       DriverOperation::SetData,
    DriverOperation::GetDevMode, DriverOperation::DeleteDC,      DriverOperation::ResetDC,
    DriverOperation::CreateDC,   DriverOperation::GetRange,      DriverOperation::UpdateDevMode,
};

}  // namespace

CDriverModule::CDriverModule() : CDriverModule(SystemQueues(), SystemDriverModules()) {}

CDriverModule::CDriverModule(QueueSource& queues, DriverModuleLocator& modules)
    : mQueues(queues), mModules(modules) {}

CDriverModule::~CDriverModule() { Unload(); }

int CDriverModule::Bind(std::string_view printerName) {
    Unload();
    const size_t chars = CountCodePoints(printerName) + 1;
    if (chars > kMaxNameChars) return -1;
    // Held in locals until every step succeeded, so a failure releases what it took.
    std::unique_ptr<QueueHandle> queue = mQueues.OpenQueue(printerName);
    if (!queue) return -1;
    std::unique_ptr<DriverModule> module = mModules.Load(queue->Queue());
    if (!module) return -1;
    for (DriverOperation op : kBindOrder)
        if (!module->Provides(op)) return -1;
    mPrinterName = std::string(printerName);
    mPortName = queue->Queue().port;
    mQueue = std::move(queue);
    mModule = std::move(module);
    return 0;
}

int CDriverModule::OpenDriver(int mode, const std::string* devMode, std::string_view printerName) {
    if (Bind(printerName) != 0) return -1;
    DriverHandle handle = 0;
    int result = mModule->Open(mPrinterName, mPortName, mode, devMode, handle);
    if (result == 0 && handle == 0) result = -1;  // "open" without a handle cannot be used
    if (result != 0) {
        Unload();
        return result;
    }
    mHandle = handle;
    return 0;
}

int CDriverModule::CloseDriver() {
    if (mHandle != 0) {
        if (mModule->Close(mHandle) == 0) return 0;
        mHandle = 0;
    }
    return Unload();
}

int CDriverModule::Unload() {
    if (mHandle != 0 && mModule) mModule->Close(mHandle);
    mHandle = 0;
    mModule.reset();
    mQueue.reset();
    mPrinterName.clear();
    mPortName.clear();
    return 1;
}

int CDriverModule::GetDriverInfo(DriverInfoRecord* record) {
    if (mHandle == 0 || !record) return 0;
    DriverInfo info;
    int result = mModule->GetDriverInfo(mHandle, info);
    if (result < 1) return result;
    record->family = info.family;
    // At most 31 bytes, never cutting a character in two.
    size_t n = 0;
    while (n < info.model.size()) {
        size_t len = Utf8SequenceLength(info.model, n);
        if (len == 0) len = 1;
        if (n + len > sizeof(record->model) - 1) break;
        n += len;
    }
    std::memcpy(record->model, info.model.data(), n);
    record->model[n] = '\0';
    return result;
}

int CDriverModule::GetCommandLevel(DriverItem item) {
    return mHandle == 0 ? -1 : mModule->GetCommandLevel(mHandle, item);
}

int CDriverModule::GetRange(DriverItem item, const DriverWords& query, DriverValue& range) {
    return mHandle == 0 ? kDriverNoHandle : mModule->GetRange(mHandle, item, query, range);
}

int CDriverModule::GetData(DriverItem item, const DriverWords& query, DriverValue& value) {
    return mHandle == 0 ? kDriverNoHandle : mModule->GetData(mHandle, item, query, value);
}

int CDriverModule::SetData(DriverItem item, const DriverWords& value) {
    return mHandle == 0 ? kDriverNoHandle : mModule->SetData(mHandle, item, value);
}

std::unique_ptr<PrintDevice> CDriverModule::CreateDC() {
    return mHandle == 0 ? nullptr : mModule->CreateDC(mHandle);
}

int CDriverModule::DeleteDC(std::unique_ptr<PrintDevice> device) {
    return mHandle == 0 ? 0 : mModule->DeleteDC(mHandle, std::move(device));
}

int CDriverModule::GetDevMode(std::string* buffer) {
    if (mHandle == 0) return 0;
    std::string record = mModule->GetDevMode(mHandle);
    if (buffer) *buffer = record;
    return static_cast<int>(record.size());
}

}  // namespace vx
