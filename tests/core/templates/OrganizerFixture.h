#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"

namespace vx::test {

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

/// The organiser's fixture in its own user folder: standard "Foto.kqt" with images a, b
/// and stamp s; user template "Reise.kqt" of "MyTemp" with image c; "Kundenkarte.kqt"
/// of "Kunden" and "Mix.kqt" of "Kunden:Reise"; user categories "Kunden" and "MyTemp".
/// The catalogue is scanned from the folder.
class OrganizerFixture {
public:
    OrganizerFixture() : mUser("VELLICOREX_USER_DIR", mRoot.Path().string()) {
        const std::filesystem::path t = Templates();
        std::filesystem::create_directories(t / "Foto");
        std::filesystem::create_directories(t / "Reise");
        WriteFileBytes(t / "Foto.kqt",
                       OrganizerTemplate("<NameGenre>\"Personal Photo\"</NameGenre>\n"
                                         "<NameOutputImageForm>\"Photo\"</NameOutputImageForm>\n"
                                         "<RelativeStampFileName>\"./Foto/s.jpg\"</RelativeStampFileName>\n",
                                         {{"./Foto/", "a.jpg"}, {"./Foto/", "b.jpg"}}));
        WriteFileBytes(t / "Foto" / "a.jpg", std::string(3000, 'a'));
        WriteFileBytes(t / "Foto" / "b.jpg", std::string(2000, 'b'));
        WriteFileBytes(t / "Foto" / "s.jpg", "stamp");
        WriteFileBytes(t / "Reise.kqt", OrganizerTemplate("<NameMyTemplate>\"MyTemp\"</NameMyTemplate>\n",
                                                          {{"./Reise/", "c.jpg"}}));
        WriteFileBytes(t / "Reise" / "c.jpg", std::string(1000, 'c'));
        WriteFileBytes(t / "Kundenkarte.kqt",
                       OrganizerTemplate("<NameMyTemplate>\"Kunden\"</NameMyTemplate>\n", {}));
        WriteFileBytes(t / "Mix.kqt", OrganizerTemplate("<NameMyTemplate>\"Kunden:Reise\"</NameMyTemplate>\n", {}));
        UserCategoryList() = {"Kunden", "MyTemp"};
        Rescan();
    }

    void Rescan() {
        mCatalog.RemoveAll();
        ScanTemplateFolders(Templates(), "kqt", 0, mCatalog);
        SortTemplateInfoArray(mCatalog);
    }

    std::filesystem::path Templates() const { return mRoot.Path() / "Templates"; }
    std::filesystem::path Root() const { return mRoot.Path(); }
    CTemplateInfoArray& Catalog() { return mCatalog; }
    std::string PathOf(const std::string& name) const { return (Templates() / name).string(); }

    /// Every file and folder below the user folder with its bytes ("/" for a folder).
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(mRoot.Path())) {
            const std::string name = entry.path().lexically_relative(mRoot.Path()).string();
            all[name] = entry.is_directory() ? "/" : ReadFileBytes(entry.path());
        }
        return all;
    }

    /// The catalogue's file names in order, each with its category.
    std::vector<std::string> Listing() const {
        std::vector<std::string> out;
        for (const TemplateInfo& info : mCatalog)
            out.push_back(std::filesystem::path(info.Path).filename().string() + "|" + info.Category);
        return out;
    }

private:
    TestRoot mRoot;
    ScopedEnv mUser;
    CTemplateInfoArray mCatalog;
};

}  // namespace vx::test
