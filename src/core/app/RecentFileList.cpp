#include "app/RecentFileList.h"

#include <algorithm>
#include <system_error>

#include "app/SettingsStore.h"

namespace vx {
namespace {

std::string EntryKey(size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFileList::Read(const SettingsStore& store) {
    mEntries.clear();
    for (size_t i = 0; i < kMaxEntries; ++i) {
        std::string text = store.GetString(kSection, EntryKey(i));
        if (text.empty()) continue;
        std::filesystem::path path(text);
        if (std::find(mEntries.begin(), mEntries.end(), path) == mEntries.end()) mEntries.push_back(path);
    }
}

bool RecentFileList::Write(SettingsStore& store) const {
    return store.Batch([this](SettingsStore& s) {
        s.Remove(kSection);
        for (size_t i = 0; i < mEntries.size(); ++i) s.SetString(kSection, EntryKey(i), mEntries[i].string());
    });
}

void RecentFileList::Add(const std::filesystem::path& path) {
    if (path.empty()) return;
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) absolute = path;
    absolute = absolute.lexically_normal();
    mEntries.erase(std::remove(mEntries.begin(), mEntries.end(), absolute), mEntries.end());
    mEntries.insert(mEntries.begin(), absolute);
    if (mEntries.size() > kMaxEntries) mEntries.resize(kMaxEntries);
}

void RecentFileList::RemoveFirst() { Remove(0); }

void RecentFileList::Remove(size_t index) {
    if (index < mEntries.size()) mEntries.erase(mEntries.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string RecentFileList::MenuText(size_t index) const {
    std::string name = mEntries.at(index).filename().string();
    std::string text = "&" + std::to_string(index + 1) + ' ';
    for (char c : name) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

}  // namespace vx
