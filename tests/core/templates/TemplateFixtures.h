#pragma once
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/ApplicationState.h"
#include "model/CLayoutSetting.h"

namespace vx::test {

/// The application object as the template functions ask it: language, unit, open layout.
struct TemplateApplicationState : ApplicationState {
    AppPreferences preferences;
    CLayoutSetting* active = nullptr;
    int language = kLanguageGermanId;
    static constexpr int kLanguageGermanId = 7;

    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { throw std::logic_error("no default layout here"); }
    CLayoutSetting*& ActiveLayoutSlot() override { return active; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting>, CLayoutSetting**) override {}
    bool InitAppDefaults() override { return true; }
    bool PrepareNewLayout(CLayoutSetting&) override { return true; }
    int GetSystemLanguage() override { return language; }
    bool ImportLocked() override { return false; }
    UndoStore& GetUndoStore() override { throw std::logic_error("no undo here"); }
};

/// A layout file whose layout element holds the given elements (already XML).
inline std::string LayoutFileText(std::string_view layoutElements) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><header><Version>1500</Version></header><layout>" +
           std::string(layoutElements) + "</layout></root>\n";
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace vx::test
