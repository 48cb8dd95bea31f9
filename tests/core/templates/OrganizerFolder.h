#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TemplateFixtures.h"
#include "host/HostService.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"

namespace vx::test {

/// Every file below root (links as links) with its bytes, or its link target.
inline std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(root).string();
        if (it->is_symlink()) files[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_directory()) files[name + "/"] = "";
        else files[name] = ReadFileBytes(it->path());
    }
    return files;
}

/// The template folder of the organiser's tests in a user folder of its own: the
/// standard "Foto.kqt" with images a, b and stamp s, the user template "Reise.kqt" of
/// "MyTemp" with image c, user categories "MyTemp" and "Kunden"; catalogue and lists
/// filled as at start-up. Messages are recorded.
class OrganizerFolder {
public:
    OrganizerFolder() : templates(root.Path() / "Templates"), ports(&messages) {
        WriteFile(templates / "Foto.kqt",
                  LayoutFileText("<NameGenre>\"General\"</NameGenre><NameOutputImageForm>\"Photo\"</NameOutputImageForm>"
                                 "<RelativeDir>\"./Foto/\"</RelativeDir>"
                                 "<RelativeStampFileName>\"./Foto/s.jpg\"</RelativeStampFileName>"));
        WriteFile(templates / "Foto" / "a.jpg", "image a");
        WriteFile(templates / "Foto" / "b.jpg", "image b");
        WriteFile(templates / "Foto" / "s.jpg", "stamp s");
        WriteFile(templates / "Reise.kqt",
                  LayoutFileText("<NameMyTemplate>\"MyTemp\"</NameMyTemplate><RelativeDir>\"./Reise/\"</RelativeDir>"));
        WriteFile(templates / "Reise" / "c.jpg", "image c");
        WriteFile(CategoryFile(), "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"MyTemp\"\nUsrTemplate1=\"Kunden\"\n");
        Rescan();
        UserCategoryList() = {"MyTemp", "Kunden"};
        BuiltinCategoryKeys() = {"Business", "Commercial Photo", "Design", "Education", "General", "Personal Photo", "Shop"};
    }
    ~OrganizerFolder() {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
    }

    void Rescan() {
        TemplateCatalog().RemoveAll();
        ScanTemplateFolders(templates, "kqt", 0);
        SortTemplateInfoArray(TemplateCatalog());
    }
    std::filesystem::path CategoryFile() const { return root.Path() / "VellicorEX_TemplatePref.ini"; }
    std::map<std::string, std::string> Snapshot() const { return TreeSnapshot(templates); }

    TestRoot root;
    ScopedEnv userFolder{"VELLICOREX_USER_DIR", root.Path().string()};
    std::filesystem::path templates;
    RecordingMessagePort messages;
    ScopedPorts ports;
    TemplateApplicationState app;
    ScopedHostService<ApplicationState> installed{&app};
};

}  // namespace vx::test
