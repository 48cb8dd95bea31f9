#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "TemplateFixtures.h"
#include "host/HostService.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"

namespace vx::test {

/// Every file and folder below root (links as links) with its bytes, its link target
/// or "/" for a folder.
inline std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(root).string();
        if (it->is_symlink()) files[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_directory()) files[name] = "/";
        else files[name] = ReadFileBytes(it->path());
    }
    return files;
}

/// A template file with the given layout elements and images (RelativeDir, File), as
/// the program writes them: one element a line, texts in double quotes.
inline std::string OrganizerTemplate(const std::string& layoutElements,
                                     const std::vector<std::pair<std::string, std::string>>& images) {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n<header>\n<Version>1500</Version>\n</header>\n"
                    "<layout>\n<CommentGerman>\"Vorlage\"</CommentGerman>\n" +
                    layoutElements + "<PaperSize>\"A4\"</PaperSize>\n</layout>\n<object>\n";
    for (const auto& [folder, file] : images) {
        s += "<image>\n";
        if (!folder.empty()) s += "<RelativeDir>\"" + folder + "\"</RelativeDir>\n";
        s += "<File>\"" + file + "\"</File>\n</image>\n";
    }
    return s + "</object>\n</root>\n";
}

/// The organiser's template folder in a user folder of its own: the standard "Foto.kqt"
/// of "Personal Photo" with images a, b and stamp s; the user templates "Reise.kqt" of
/// "MyTemp" with image c, "Kundenkarte.kqt" of "Kunden" and "Mix.kqt" of "Kunden:Reise";
/// the user categories "MyTemp" and "Kunden" in that order, in the list and in its file.
/// The global catalogue is scanned from the folder as at start-up; messages are recorded
/// and the open layout is app.active.
class OrganizerFolder {
public:
    OrganizerFolder() : templates(mRoot.Path() / "Templates"), mPorts(&messages) {
        WriteFile(templates / "Foto.kqt",
                  OrganizerTemplate("<NameGenre>\"Personal Photo\"</NameGenre>\n"
                                    "<NameOutputImageForm>\"Photo\"</NameOutputImageForm>\n"
                                    "<RelativeStampFileName>\"./Foto/s.jpg\"</RelativeStampFileName>\n",
                                    {{"./Foto/", "a.jpg"}, {"./Foto/", "b.jpg"}}));
        WriteFile(templates / "Foto" / "a.jpg", std::string(3000, 'a'));
        WriteFile(templates / "Foto" / "b.jpg", std::string(2000, 'b'));
        WriteFile(templates / "Foto" / "s.jpg", "stamp");
        WriteFile(templates / "Reise.kqt",
                  OrganizerTemplate("<NameMyTemplate>\"MyTemp\"</NameMyTemplate>\n", {{"./Reise/", "c.jpg"}}));
        WriteFile(templates / "Reise" / "c.jpg", std::string(1000, 'c'));
        WriteFile(templates / "Kundenkarte.kqt", OrganizerTemplate("<NameMyTemplate>\"Kunden\"</NameMyTemplate>\n", {}));
        WriteFile(templates / "Mix.kqt", OrganizerTemplate("<NameMyTemplate>\"Kunden:Reise\"</NameMyTemplate>\n", {}));
        WriteFile(CategoryFile(), "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"MyTemp\"\nUsrTemplate1=\"Kunden\"\n");
        UserCategoryList() = {"MyTemp", "Kunden"};
        BuiltinCategoryKeys() = {"Business", "Commercial Photo", "Design", "Education", "General", "Personal Photo", "Shop"};
        Rescan();
    }
    ~OrganizerFolder() {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
    }
    OrganizerFolder(const OrganizerFolder&) = delete;
    OrganizerFolder& operator=(const OrganizerFolder&) = delete;

    /// Fills the catalogue from the folder again, sorted.
    void Rescan() {
        TemplateCatalog().RemoveAll();
        ScanTemplateFolders(templates, "kqt", 0);
        SortTemplateInfoArray(TemplateCatalog());
    }

    std::filesystem::path Root() const { return mRoot.Path(); }
    std::filesystem::path CategoryFile() const { return mRoot.Path() / "VellicorEX_TemplatePref.ini"; }
    std::string PathOf(const std::string& name) const { return (templates / name).string(); }
    CTemplateInfoArray& Catalog() { return TemplateCatalog(); }

    /// The whole user folder: templates, images and the category file.
    std::map<std::string, std::string> Snapshot() const { return TreeSnapshot(mRoot.Path()); }
    /// The catalogue's file names in order, each with its category.
    std::vector<std::string> Listing() const { return ListingOf(TemplateCatalog()); }
    /// The listing a fresh scan of the folder gives, the catalogue left alone: equal to
    /// Listing() when catalogue and files agree.
    std::vector<std::string> ScannedListing() const {
        CTemplateInfoArray scanned;
        ScanTemplateFolders(templates, "kqt", 0, scanned);
        SortTemplateInfoArray(scanned);
        return ListingOf(scanned);
    }

private:
    static std::vector<std::string> ListingOf(const CTemplateInfoArray& catalog) {
        std::vector<std::string> out;
        for (const TemplateInfo& info : catalog)
            out.push_back(std::filesystem::path(info.Path).filename().string() + "|" + info.Category);
        return out;
    }

    TestRoot mRoot;
    ScopedEnv mUserFolder{"VELLICOREX_USER_DIR", mRoot.Path().string()};

public:
    const std::filesystem::path templates;
    RecordingMessagePort messages;
    TemplateApplicationState app;

private:
    ScopedPorts mPorts;
    ScopedHostService<ApplicationState> mInstalled{&app};
};

}  // namespace vx::test
