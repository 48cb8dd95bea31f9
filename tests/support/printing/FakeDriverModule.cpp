#include "support/printing/FakeDriverModule.h"

#include <algorithm>

namespace vx::test {
namespace {

const DriverValue* FindAnswer(const std::map<std::pair<DriverItem, DriverWords>, DriverValue>& answers,
                          DriverItem item, const DriverWords& query) {
    auto it = answers.find({item, query});
    if (it == answers.end()) it = answers.find({item, {}});
    return it == answers.end() ? nullptr : &it->second;
}

bool HasAnswer(const std::map<std::pair<DriverItem, DriverWords>, DriverValue>& answers, DriverItem item) {
    return std::any_of(answers.begin(), answers.end(), [&](const auto& e) { return e.first.first == item; });
}

}  // namespace

bool FakeDriverState::Logged(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

FakeDriverModule::FakeDriverModule(std::shared_ptr<FakeDriverState> state) : mState(std::move(state)) {
    ++mState->modulesHeld;
}

FakeDriverModule::~FakeDriverModule() { --mState->modulesHeld; }

void FakeDriverModule::Log(DriverOperation op, std::optional<DriverItem> item) {
    std::string entry = DriverOperationName(op);
    if (item) entry += " " + std::to_string(static_cast<int>(*item));
    mState->log.push_back(entry);
}

std::optional<int> FakeDriverModule::Forced(DriverOperation op, std::optional<DriverItem> item,
                                            const DriverWords* value) const {
    for (const FakeDriverState::Failure& f : mState->failures) {
        if (f.op != op || (f.item && f.item != item)) continue;
        if (f.value && (!value || *f.value != *value)) continue;
        return f.result;
    }
    return std::nullopt;
}

bool FakeDriverModule::Provides(DriverOperation op) const { return mState->withheld.count(op) == 0; }

int FakeDriverModule::Open(std::string_view printer, std::string_view port, int mode,
                           const std::string* settings, DriverHandle& handle) {
    mState->log.push_back("Open " + std::string(printer) + " " + std::string(port) + " " + std::to_string(mode));
    mState->lastOpenMode = mode;
    mState->lastOpenSettings = settings ? std::optional<std::string>(*settings) : std::nullopt;
    if (mState->openResult != 0) return mState->openResult;
    static DriverHandle next = 0x100;
    handle = ++next;
    mHandles.insert(handle);
    ++mState->handlesOpen;
    return 0;
}

int FakeDriverModule::GetDriverInfo(DriverHandle handle, DriverInfo& info) {
    Log(DriverOperation::GetDriverInfo);
    if (!IsOpen(handle)) return 0;
    if (auto f = Forced(DriverOperation::GetDriverInfo, std::nullopt)) return *f;
    if (mState->infoResult >= 1) info = mState->info;
    return mState->infoResult;
}

int FakeDriverModule::GetCommandLevel(DriverHandle handle, DriverItem item) {
    Log(DriverOperation::GetCommandLevel, item);
    if (!IsOpen(handle)) return -1;
    if (auto it = mState->commandLevels.find(item); it != mState->commandLevels.end()) return it->second;
    return HasAnswer(mState->data, item) || HasAnswer(mState->ranges, item) ? 1 : -1;
}

int FakeDriverModule::Answer(DriverOperation op, DriverHandle handle, DriverItem item, const DriverWords& query,
                             DriverValue& value) {
    Log(op, item);
    if (!IsOpen(handle)) return kDriverNoHandle;
    if (auto f = Forced(op, item)) return *f;
    const DriverValue* answer = FindAnswer(op == DriverOperation::GetRange ? mState->ranges : mState->data, item, query);
    if (!answer) return kDriverRefused;
    value = *answer;
    return 0;
}

int FakeDriverModule::GetRange(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& range) {
    return Answer(DriverOperation::GetRange, handle, item, query, range);
}

int FakeDriverModule::GetData(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value) {
    return Answer(DriverOperation::GetData, handle, item, query, value);
}

int FakeDriverModule::SetData(DriverHandle handle, DriverItem item, const DriverWords& value) {
    Log(DriverOperation::SetData, item);
    if (!IsOpen(handle)) return kDriverNoHandle;
    if (auto f = Forced(DriverOperation::SetData, item, &value)) return *f;
    mState->SetData(item, value);
    return 0;
}

std::unique_ptr<PrintDevice> FakeDriverModule::CreateDC(DriverHandle handle) {
    Log(DriverOperation::CreateDC);
    if (!IsOpen(handle) || Forced(DriverOperation::CreateDC, std::nullopt)) return nullptr;
    ++mState->devicesHeld;
    return std::make_unique<PrintDevice>(mState->caps, mState->profile);
}

int FakeDriverModule::ResetDC(DriverHandle handle, PrintDevice& device) {
    Log(DriverOperation::ResetDC);
    if (!IsOpen(handle)) return 0;
    device.Reset(mState->caps, mState->profile);
    return 1;
}

int FakeDriverModule::DeleteDC(DriverHandle handle, std::unique_ptr<PrintDevice> device) {
    Log(DriverOperation::DeleteDC);
    if (!IsOpen(handle) || !device) return 0;
    --mState->devicesHeld;
    return 1;
}

std::string FakeDriverModule::GetDevMode(DriverHandle handle) {
    Log(DriverOperation::GetDevMode);
    return IsOpen(handle) ? mState->devMode : std::string();
}

int FakeDriverModule::UpdateDevMode(DriverHandle handle, const std::string& settings) {
    Log(DriverOperation::UpdateDevMode);
    if (!IsOpen(handle)) return kDriverNoHandle;
    if (auto f = Forced(DriverOperation::UpdateDevMode, std::nullopt)) return *f;
    mState->devMode = settings;
    return 0;
}

int FakeDriverModule::Close(DriverHandle handle) {
    Log(DriverOperation::Close);
    if (!IsOpen(handle) || mState->closeResult == 0) return 0;
    mHandles.erase(handle);
    --mState->handlesOpen;
    return mState->closeResult;
}

}  // namespace vx::test
