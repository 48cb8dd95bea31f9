#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

/// One entry of a profile list: what the user sees and the bare file name behind it.
struct ProfileEntry {
    std::string description;
    std::string fileName;
    friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

/// The entries of a profile drop-down. A printer-class list keeps entry 0 for a choice
/// that is no profile (the recommended printer profile); searches skip it.
class ProfileListModel {
public:
    explicit ProfileListModel(bool printerClass = false) : mPrinterClass(printerClass) {}

    bool IsPrinterClass() const { return mPrinterClass; }
    size_t Size() const { return mEntries.size(); }
    bool Empty() const { return mEntries.empty(); }
    const ProfileEntry& At(size_t index) const { return mEntries.at(index); }
    const std::vector<ProfileEntry>& Entries() const { return mEntries; }

    /// Appends an entry, its texts copied or moved straight into place.
    template <class Description, class Name>
    void Add(Description&& description, Name&& fileName) {
        mEntries.emplace_back(std::forward<Description>(description), std::forward<Name>(fileName));
    }
    void Reserve(size_t count) { mEntries.reserve(count); }
    void SetDescription(size_t index, std::string description) { mEntries.at(index).description = std::move(description); }
    void SetFileName(size_t index, std::string fileName) { mEntries.at(index).fileName = std::move(fileName); }
    /// Moves other's entries behind these.
    void Append(ProfileListModel&& other) {
        if (mEntries.empty()) mEntries = std::move(other.mEntries);
        else for (ProfileEntry& e : other.mEntries) mEntries.push_back(std::move(e));
    }
    /// Forgets every entry (the lists' file names die with their dialog).
    void Clear() { mEntries.clear(); }

private:
    bool mPrinterClass;
    std::vector<ProfileEntry> mEntries;
};

/// The entry index of the first entry (from 1 in a printer-class list, else 0) whose
/// description equals description byte for byte; that start index when the text is
/// empty or no entry has it. classCode 'prtr' makes the search start at 1 whatever the
/// model says.
int FindProfileComboItem(uint32_t classCode, const ProfileListModel& list, std::string_view description);
/// The file name of entry index; empty for an index outside the list.
std::string GetComboProfileFileName(const ProfileListModel& list, int index);
/// The description the layout stores for entry index: that file's description in the
/// colour directories, else the printer-class default's, else the entry's own text.
std::string GetComboProfileDescription(const ProfileListModel& list, int index);
/// Empties a list; its owned file names go with it.
void FreeProfileComboData(ProfileListModel& list);

/// The description of the profile at path (a bare name lies in the colour
/// directories): true and the text, or false and an empty text when it does not open.
bool ReadProfileDescription(const std::filesystem::path& path, std::string& description);

/// The source list (the default RGB profile first, then every other RGB profile), the
/// RGB simulation list (RGB printer profiles) and the CMYK simulation list (CMYK
/// printer profiles, the default CMYK profile first when it is one), each in the
/// catalogue's order. Files that do not open as profiles are not listed.
struct InputProfileLists {
    ProfileListModel source;
    ProfileListModel rgbSimulation;
    ProfileListModel cmykSimulation;
};
void FillInputProfileLists(InputProfileLists& lists);

/// The five rendering intents as the intent lists show them; entry + 1 is the code.
const std::vector<std::string>& IntentListTexts();
inline constexpr int kIntentCount = 5;
/// The entry that shows an intent code; 0 for a code outside 1..5.
int IntentEntryForCode(int code);

}  // namespace vx
