#pragma once
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../colourmanagement/CatalogueFolders.h"
#include "DocumentFixtures.h"
#include "document/ImageItemOpener.h"
#include "document/LayoutXmlReader.h"
#include "host/ToolWindows.h"
#include "host/ViewServices.h"
#include "model/ObjectList.h"
#include "platform/system/Folders.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingImageNotFoundPrompt.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "view/FontAvailability.h"

namespace vx::test {

/// The model's image adding as the reader uses it, without decoding anything: items
/// are copied from the prototype, numbered and appended; files named in `refused`
/// cannot be opened.
struct FakeImageOpener : ImageItemOpener {
    std::vector<std::filesystem::path> opened;
    std::set<std::string> refused;  // file names
    int bitmaps = 0;
    int captions = 0;

    CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name) override {
        auto item = std::make_unique<CImageObj>(true, name);
        if (prototype) item->CopyFrom(*prototype, false);
        if (!list) return item.release();
        int16_t number = 1;
        for (CLayoutObj* o = *list; o; o = o->NextItem())
            if (o->GetKind() == kKindImage && static_cast<CImageObj*>(o)->GetLabelNumber() >= number)
                number = int16_t(static_cast<CImageObj*>(o)->GetLabelNumber() + 1);
        item->SetLabelNumber(number);
        CImageObj* raw = item.get();
        return AppendObject(list, item) ? raw : nullptr;
    }
    bool OpenImageFile(CImageObj& item, const std::filesystem::path& path) override {
        opened.push_back(path);
        if (refused.count(path.filename().string())) return false;
        item.SetFilePath(path);
        return true;
    }
    void EnsureWorkingBitmap(CImageObj&) override { ++bitmaps; }
    void RecalcFrameCaption(CImageObj&) override { ++captions; }
};

/// The image file dialog, answering with a script of chosen files.
struct ScriptedToolWindows : NoToolWindows {
    std::vector<std::filesystem::path> choices;  // one per dialog, first to last
    std::vector<std::filesystem::path> startFolders;
    int dialogs = 0;

    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path& start) override {
        startFolders.push_back(start);
        if (size_t(dialogs) >= choices.size()) return {};
        return {choices[size_t(dialogs++)]};
    }
};

/// The view's font check over a fixed list of families, as on a machine with only the
/// DejaVu fonts (no "Tahoma"): the same on every machine, and without fontconfig.
struct ListedFonts : ViewServices {
    std::vector<std::string> families = {"DejaVu Sans", "DejaVu Serif"};
    void FormatHeaderFooterText(int, CLayoutSetting&) override {}
    bool EnsureFontAvailable(std::string& face, bool& warn) override {
        return vx::EnsureFontAvailable(face, warn, families);
    }
};

/// Every file below a folder with its bytes and modification time.
struct FolderSnapshot {
    std::map<std::string, std::pair<std::string, int64_t>> files;
    friend bool operator==(const FolderSnapshot&, const FolderSnapshot&) = default;

    static FolderSnapshot Of(const std::filesystem::path& folder) {
        FolderSnapshot s;
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            struct stat st {};
            if (::lstat(it->path().c_str(), &st) != 0) continue;
            std::string bytes;
            if (S_ISREG(st.st_mode)) {
                std::ifstream in(it->path(), std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            s.files[it->path().string()] = {bytes, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
        }
        return s;
    }
};

/// Description of the profile every fixture names; it is installed in the test's
/// colour folder with the default RGB and CMYK files.
inline const std::string kTestProfile = "Test RGB";

/// Profiles that are installed and intents the reader accepts, as every layout the
/// program makes has them.
inline void NameTestProfiles(CLayoutSetting& l) {
    l.SetColorIntentRGB(1);
    l.SetColorIntentSimulation(3);
    LayoutTexts& t = l.Texts();
    t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = kTestProfile;
}

inline CImageObj* AddProfiledImage(CLayoutSetting& l, const std::filesystem::path& path) {
    CImageObj* image = AddImage(l, path.string());
    image->SetSourceProfile(kTestProfile);
    image->SetSimulationProfile(kTestProfile);
    return image;
}

/// A layout file as someone writes it by hand: only the given children of layout and
/// object.
inline std::string HandWritten(const std::string& layout, const std::string& objects) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><header><Version>1500</Version>"
           "<Platform>Win</Platform><OSVersion>x</OSVersion></header>\n<layout>" +
           layout + "</layout>\n<object>" + objects + "</object></root>\n";
}

/// What a load needs around it: application state, image opener, prompt, file dialog,
/// ports, colour folder and an empty temporary folder, all installed for the fixture.
class LayoutLoadTest : public testing::Test {
protected:
    LayoutLoadTest()
        : tempEnv("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()),
          ports(&messages, &progress, &status) {
        std::filesystem::create_directories(TempFolder());
        colour.Write(0, "test.icc", DescribedSrgb(kTestProfile));
        colour.Write(0, "sRGB Color Space Profile.ICM", DescribedSrgb("Default RGB"));
        colour.Write(0, "Marlo_CMYK.icc", DescribedSrgb("Default CMYK"));
        previousOpener = SetImageItemOpener(&opener);
        LayoutTexts& t = app.defaults.Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = kTestProfile;
        app.defaults.GetBaseImage()->SetSourceProfile(kTestProfile);
        app.defaults.GetBaseImage()->SetSimulationProfile(kTestProfile);
    }
    ~LayoutLoadTest() override { SetImageItemOpener(previousOpener); }

    /// A file below the test folder with some bytes.
    std::filesystem::path Touch(const std::string& relative, const std::string& bytes = "image") {
        const std::filesystem::path p = root.Path() / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::filesystem::path WriteText(const std::string& relative, const std::string& text) { return Touch(relative, text); }

    /// Loads and checks that nothing below the test folder changed.
    LayoutLoad Load(const std::filesystem::path& path) {
        const FolderSnapshot before = FolderSnapshot::Of(root.Path());
        LayoutLoad load = LoadLayoutXml(path);
        EXPECT_TRUE(FolderSnapshot::Of(root.Path()) == before) << "the load wrote below " << root.Path();
        EXPECT_TRUE(std::filesystem::is_empty(TempFolder()));
        return load;
    }

    TestRoot root;
    ScopedEnv tempEnv;
    CatalogueFolders colour{1};
    RecordingMessagePort messages;
    RecordingProgressPort progress;
    RecordingStatusPort status;
    ScopedPorts ports;
    InstalledApplicationState app;
    InstalledImageNotFoundPrompt prompt;
    ScriptedToolWindows windows;
    ScopedHostService<ToolWindows> installWindows{&windows};
    ListedFonts fonts;
    ScopedHostService<ViewServices> installFonts{&fonts};
    FakeImageOpener opener;
    ImageItemOpener* previousOpener = nullptr;
};

/// The image items of a layout, in list order.
inline std::vector<CImageObj*> Images(const CLayoutSetting& layout) {
    std::vector<CImageObj*> out;
    for (CLayoutObj* o = layout.GetFirstItem(); o; o = o->NextItem())
        if (o->GetKind() == kKindImage) out.push_back(static_cast<CImageObj*>(o));
    return out;
}

inline std::vector<int16_t> Kinds(const CLayoutSetting& layout) {
    std::vector<int16_t> out;
    for (CLayoutObj* o = layout.GetFirstItem(); o; o = o->NextItem()) out.push_back(o->GetKind());
    return out;
}

}  // namespace vx::test
