#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/driver/DriverModule.h"
#include "platform/driver/PrinterModel.h"
#include "platform/driver/PrinterSettings.h"

namespace vx {

/// The setup module of the described models: answers the data items from a model's
/// descriptor and keeps each open printer's settings, refusing what the model cannot
/// take as a real driver does (the refused call changes nothing).
class DataDrivenModule : public DriverModule {
public:
    explicit DataDrivenModule(std::shared_ptr<const PrinterModel> model);

    int Open(std::string_view printer, std::string_view port, int mode, const std::string* settings,
             DriverHandle& handle) override;
    int GetDriverInfo(DriverHandle handle, DriverInfo& info) override;
    int GetCommandLevel(DriverHandle handle, DriverItem item) override;
    int GetRange(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& range) override;
    int GetData(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value) override;
    int SetData(DriverHandle handle, DriverItem item, const DriverWords& value) override;
    std::unique_ptr<PrintDevice> CreateDC(DriverHandle handle) override;
    int ResetDC(DriverHandle handle, PrintDevice& device) override;
    int DeleteDC(DriverHandle handle, std::unique_ptr<PrintDevice> device) override;
    std::string GetDevMode(DriverHandle handle) override;
    int UpdateDevMode(DriverHandle handle, const std::string& settings) override;
    int Close(DriverHandle handle) override;

    const PrinterModel& Model() const { return *mModel; }
    /// Full path of a medium's profile in the data folder's "icc" folder.
    std::filesystem::path ProfilePath(int32_t medium) const;

private:
    struct OpenPrinter {
        std::string name, port;
        PrinterSettings settings;
    };
    using Answerer = int (DataDrivenModule::*)(const PrinterSettings&, DriverItem, const DriverWords&,
                                               DriverValue&) const;
    OpenPrinter* Find(DriverHandle handle);
    /// GetRange and GetData: the answer for an open printer's item, or a refusal that
    /// leaves `value` as it was.
    int Answer(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value,
               Answerer answerer);
    int Range(const PrinterSettings& s, DriverItem item, const DriverWords& query, DriverValue& out) const;
    int Data(const PrinterSettings& s, DriverItem item, const DriverWords& query, DriverValue& out) const;
    int Apply(PrinterSettings& s, DriverItem item, const DriverWords& value) const;

    std::shared_ptr<const PrinterModel> mModel;
    std::map<DriverHandle, OpenPrinter> mOpen;
};

}  // namespace vx
