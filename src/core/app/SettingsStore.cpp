#include "app/SettingsStore.h"

#include <limits>

#include "platform/system/AtomicFile.h"
#include "platform/system/Folders.h"
#include "platform/system/Numbers.h"

namespace vx {
namespace {

// A value counts only when it is a whole number: a damaged one reads like a missing one.
std::optional<long long> WholeNumber(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    size_t used = 0;
    std::optional<long long> v = ParseLong(*text, &used);
    if (!v || used != text->size()) return std::nullopt;
    return v;
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(UserFolder() / kFileName) {}

SettingsStore::SettingsStore(std::filesystem::path file) : mPath(std::move(file)) { Reload(); }

void SettingsStore::Reload() {
    // A missing or unreadable store reads as empty; Load leaves it so.
    (void)mFile.Load(mPath);
}

int32_t SettingsStore::GetInt(std::string_view section, std::string_view key, int32_t fallback) const {
    std::optional<long long> v = WholeNumber(mFile.Get(section, key));
    if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max())
        return fallback;
    return static_cast<int32_t>(*v);
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
    return mFile.GetString(section, key, fallback);
}

bool SettingsStore::SetInt(std::string_view section, std::string_view key, int32_t value) {
    return SetString(section, key, std::to_string(value));
}

bool SettingsStore::SetString(std::string_view section, std::string_view key, std::string_view value) {
    mFile.Set(section, key, value);
    return Flush();
}

bool SettingsStore::Remove(std::string_view section, std::string_view key) {
    if (key.empty()) mFile.RemoveSection(section);
    else mFile.Remove(section, key);
    return Flush();
}

uint32_t SettingsStore::GetSwitch(std::string_view name) const {
    std::optional<long long> v = WholeNumber(mFile.Get("", name));
    // A DWORD: written unsigned, but a signed 32-bit form reads as the same bits.
    if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<uint32_t>::max()) return 0;
    return static_cast<uint32_t>(*v);
}

bool SettingsStore::SetSwitch(std::string_view name, uint32_t value) {
    return SetString("", name, std::to_string(value));
}

bool SettingsStore::Batch(const std::function<void(SettingsStore&)>& fn) {
    ++mBatchDepth;
    try {
        fn(*this);
    } catch (...) {
        --mBatchDepth;
        throw;
    }
    --mBatchDepth;
    return Flush();
}

bool SettingsStore::Flush() {
    if (mBatchDepth > 0) return true;
    // Fails soft, as registry writes did: the value stays for this run.
    return WriteFileAtomically(mPath, mFile.Serialise()).ok();
}

}  // namespace vx
