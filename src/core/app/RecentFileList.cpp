#include "app/RecentFileList.h"

#include "app/SettingsStore.h"

namespace vx {

void RecentFileList::Read(const SettingsStore&) {}
bool RecentFileList::Write(SettingsStore&) const { return false; }
void RecentFileList::Add(const std::filesystem::path&) {}
void RecentFileList::RemoveFirst() {}
void RecentFileList::Remove(size_t) {}
std::string RecentFileList::MenuText(size_t) const { return {}; }

}  // namespace vx
