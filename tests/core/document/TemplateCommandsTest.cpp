#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DocumentFixtures.h"
#include "SettingCommandsFixture.h"
#include "document/LayoutXmlWriter.h"
#include "document/TemplateCommands.h"
#include "document/TemplateFileWriter.h"
#include "model/CLineObj.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Paths.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSummary.h"

namespace fs = std::filesystem;

namespace vx::test {
namespace {

/// The save-as-template dialog: records its presets and answers with fields, or Cancel.
struct SaveAsDialog : RecordingSettingsDialogs {
    std::optional<SaveTemplateAsFields> answer;
    std::vector<SaveTemplateAsFields> presets;
    bool bound = true;
    bool Has(Dialog dialog) override { return dialog == Dialog::SaveTemplateAs ? bound : false; }
    bool RunSaveTemplateAs(SaveTemplateAsFields& fields) override {
        presets.push_back(fields);
        if (!answer) return false;
        fields = *answer;
        return true;
    }
};

SaveTemplateAsFields Fields(const std::string& name, int withImages, const std::string& category = "Familie",
                            const std::string& note = "Notiz") {
    SaveTemplateAsFields f;
    f.name = name;
    f.category = category;
    f.note = note;
    f.saveWithImages = withImages;
    return f;
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

/// The text of the first element called name in the file, nullopt without one.
std::optional<std::string> ElementText(const fs::path& file, const std::string& name) {
    const std::string bytes = ReadFileBytes(file);
    const std::string open = "<" + name + ">";
    const size_t start = bytes.find(open);
    if (start == std::string::npos) return std::nullopt;
    const size_t end = bytes.find("</" + name + ">", start);
    return bytes.substr(start + open.size(), end - start - open.size());
}

int gCreates = 0;
int gFailRenameAtCreate = 0;
void FailRenameOfNthWrite(AtomicWriteStep step) {
    if (step == AtomicWriteStep::Create && ++gCreates == gFailRenameAtCreate)
        FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
}

struct TemplateFixture : CommandFixture {
    ScopedEnv user{"VELLICOREX_USER_DIR", (root.Path() / "user").string()};
    SaveAsDialog saveAs;
    ScopedHostService<SettingsDialogs> installSaveAs{&saveAs};
    TemplateCommands commands{doc};

    TemplateFixture() {
        layout->SetOrientation(1);  // the file has a word for each value
        TemplateCatalog().RemoveAll();
        CurrentTemplateInfo().RemoveAll();
    }
    ~TemplateFixture() {
        SetAtomicWriteStepHookForTests(nullptr);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        TemplateCatalog().RemoveAll();
        CurrentTemplateInfo().RemoveAll();
    }

    fs::path Templates() const { return GetTemplateFolder(); }
    /// A picture file with its own bytes under root/folder.
    fs::path Picture(const std::string& folder, const std::string& name) {
        const fs::path path = root.Path() / folder / name;
        fs::create_directories(path.parent_path());
        WriteFileBytes(path, "bytes of " + folder + "/" + name);
        return path;
    }
    /// Runs Save template as with the dialog answering fields.
    void SaveAs(const SaveTemplateAsFields& fields) {
        saveAs.answer = fields;
        commands.OnCommand(kCmdSaveTemplateAs);
    }
    CImageObj* AddImage(bool selected, const fs::path& path) {
        CImageObj* image = CommandFixture::AddImage(selected, path);
        image->SetSizeMethod(1);
        return image;
    }
    std::vector<fs::path> ItemPaths() const {
        std::vector<fs::path> paths;
        for (CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem())
            if (item->GetKind() == kKindImage) paths.push_back(static_cast<CImageObj*>(item)->GetFilePath());
        return paths;
    }
};

TEST(TemplateCommands, SaveAsCopiesImagesUnderNamesThatDifferIgnoringCase) {
    TemplateFixture f;
    const fs::path a = f.Picture("a", "photo.jpg"), b = f.Picture("b", "photo.jpg"), c = f.Picture("c", "PHOTO.jpg");
    for (const fs::path& p : {a, b, c}) f.AddImage(false, p);
    f.layout->SetDirty(1);

    f.SaveAs(Fields("Hochzeit.kqt", 1));

    const fs::path file = f.Templates() / "Hochzeit.kqt";
    ASSERT_TRUE(fs::is_regular_file(file));
    const fs::path images = f.Templates() / "Hochzeit";
    EXPECT_EQ(Listing(images), Sorted({"PHOTO1.jpg", "photo.jpg", "photo0.jpg"}));
    EXPECT_EQ(ReadFileBytes(images / "photo.jpg"), ReadFileBytes(a));
    EXPECT_EQ(ReadFileBytes(images / "photo0.jpg"), ReadFileBytes(b));
    EXPECT_EQ(ReadFileBytes(images / "PHOTO1.jpg"), ReadFileBytes(c));
    EXPECT_EQ(Sorted(FilesNamedInImageFolder(file, images)), Sorted({"PHOTO1.jpg", "photo.jpg", "photo0.jpg"}));
    EXPECT_EQ(f.ItemPaths(), (std::vector<fs::path>{a, b, c})) << "items name their own files again";
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(TemplateCommands, SaveAsWritesAUserTemplateAndKeepsTheCatalogue) {
    TemplateFixture f;
    f.AddImage(false, f.Picture("a", "photo.jpg"));
    f.layout->Texts().genreName = "Portrait";
    f.layout->Texts().outputImageFormName = "Oval";
    f.layout->SetDirty(1);
    f.layout->SetSavedLayout(1);
    TemplateInfo b, d;
    b.Path = (f.Templates() / "B.kqt").string();
    d.Path = (f.Templates() / "D.kqt").string();
    TemplateCatalog().Add(d);
    TemplateCatalog().Add(b);

    f.SaveAs(Fields("C.kqt", 1));

    const fs::path file = f.Templates() / "C.kqt";
    ASSERT_TRUE(fs::is_regular_file(file));
    ASSERT_EQ(f.saveAs.presets.size(), 1u);
    EXPECT_EQ(f.saveAs.presets[0].name, "") << "a never-saved layout proposes no name";
    EXPECT_EQ(f.saveAs.presets[0].saveWithImages, 1);
    // Empty texts are left out of the file; a reader finds them empty.
    EXPECT_EQ(ElementText(file, "NameGenre").value_or("\"\""), "\"\"");
    EXPECT_EQ(ElementText(file, "NameOutputImageForm").value_or("\"\""), "\"\"");
    EXPECT_EQ(ElementText(file, "NameMyTemplate"), "\"Familie\"");

    ASSERT_EQ(TemplateCatalog().GetSize(), 3);
    EXPECT_EQ(TemplateCatalog().ElementAt(0).Path, b.Path);
    EXPECT_EQ(TemplateCatalog().ElementAt(1).Path, file.string());
    EXPECT_EQ(TemplateCatalog().ElementAt(2).Path, d.Path);
    EXPECT_EQ(TemplateCatalog().ElementAt(1).Category, "Familie");
    EXPECT_EQ(TemplateCatalog().ElementAt(1).IsUserTemplate, 1);
    ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
    EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).Path, file.string());

    const CLayoutSetting& l = *f.layout;
    EXPECT_EQ(l.Texts().documentPath, file.string());
    EXPECT_EQ(f.doc.TemplateFileName(), "C.kqt");
    EXPECT_EQ(l.Texts().ownTemplateName, "Familie");
    EXPECT_EQ(l.Texts().comment, "Notiz");
    EXPECT_EQ(l.Texts().genreName, "");
    EXPECT_EQ(l.Texts().outputImageFormName, "");
    EXPECT_EQ(l.GetSavedTemplate(), 1);
    EXPECT_EQ(l.GetSavedLayout(), 0);
    EXPECT_EQ(l.GetDirty(), 0);
    EXPECT_EQ(l.GetTemplate(), 0);
    EXPECT_EQ(f.host.pane.resets, 1);
    EXPECT_EQ(f.host.pane.templateTexts.size(), 1u);

    // Saved again under the same name: its entry is replaced, not added.
    f.layout->Texts().comment = "Zweite";
    f.SaveAs(Fields("C.kqt", 1, "Familie", "Zweite"));
    ASSERT_EQ(TemplateCatalog().GetSize(), 3);
    EXPECT_EQ(TemplateCatalog().ElementAt(1).Path, file.string());
    EXPECT_EQ(f.saveAs.presets.back().name, "C.kqt");
    EXPECT_EQ(f.saveAs.presets.back().category, "Familie");
    EXPECT_EQ(f.saveAs.presets.back().note, "Zweite");
}

TEST(TemplateCommands, SaveAsWritesOnlyABareNameInTheTemplateFolder) {
    struct Case {
        const char* name;
        const char* written;  // null: refused with 59425
    };
    for (const Case& c : {Case{"Ohne", "Ohne.kqt"}, Case{"Gross.KQT", "Gross.KQT"}, Case{"../Aussen.kqt", nullptr},
                          Case{"a\\b.kqt", nullptr}, Case{".kqt", nullptr}}) {
        SCOPED_TRACE(c.name);
        TemplateFixture f;
        f.layout->SetDirty(1);
        f.SaveAs(Fields(c.name, 0));
        if (c.written) {
            EXPECT_TRUE(f.messages.shown.empty());
            EXPECT_EQ(Listing(f.Templates()), std::vector<std::string>{c.written});
            EXPECT_EQ(f.doc.TemplateFileName(), c.written);
        } else {
            EXPECT_EQ(f.messages.Ids(), std::vector<int>{59425});
            EXPECT_TRUE(Listing(f.Templates()).empty());
            EXPECT_FALSE(fs::exists(f.Templates().parent_path() / "Aussen.kqt"));
            EXPECT_EQ(f.layout->GetDirty(), 1);
        }
    }
}

TEST(TemplateCommands, SaveAsCancelChangesNothing) {
    TemplateFixture f;
    f.AddImage(false, f.Picture("a", "photo.jpg"));
    f.layout->Texts().ownTemplateName = "Kat";
    f.layout->Texts().comment = "Alt";
    f.layout->SetSaveTemplateWithImages(0);
    f.layout->SetDirty(1);
    const LayoutTexts texts = f.layout->Texts();

    f.doc.SetTemplateFileName("Kat.kqt");
    f.commands.OnCommand(kCmdSaveTemplateAs);
    f.layout->Texts().ownTemplateName.clear();
    f.commands.OnCommand(kCmdSaveTemplateAs);
    f.layout->Texts().ownTemplateName = "Kat";

    ASSERT_EQ(f.saveAs.presets.size(), 2u);
    EXPECT_EQ(f.saveAs.presets[0].name, "Kat.kqt");
    EXPECT_EQ(f.saveAs.presets[1].name, "") << "a standard template's name is not proposed";
    EXPECT_EQ(f.saveAs.presets[0].category, "Kat");
    EXPECT_EQ(f.saveAs.presets[0].note, "Alt");
    EXPECT_EQ(f.saveAs.presets[0].saveWithImages, 1);
    EXPECT_EQ(f.layout->Texts(), texts);
    EXPECT_EQ(f.layout->GetSaveTemplateWithImages(), 0);
    EXPECT_EQ(f.layout->GetDirty(), 1);
    EXPECT_FALSE(fs::exists(f.Templates()));
}

TEST(TemplateCommands, ResaveDeletesOnlyCopiesThePreviousVersionNamed) {
    TemplateFixture f;
    const fs::path a = f.Picture("a", "photo.jpg"), b = f.Picture("b", "photo.jpg");
    f.AddImage(false, a);
    CImageObj* second = f.AddImage(false, b);
    f.layout->SetDirty(1);
    f.SaveAs(Fields("Reise.kqt", 1));
    const fs::path file = f.Templates() / "Reise.kqt";
    const fs::path images = TemplateImageFolder(file);
    ASSERT_EQ(Listing(images), Sorted({"photo.jpg", "photo0.jpg"}));
    WriteFileBytes(images / "notes.txt", "mine");

    RemoveObjectById(f.layout->ItemListHead(), second);
    f.layout->SetDirty(1);
    f.commands.OnCommand(kCmdSaveTemplate);

    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.saveAs.presets.size(), 1u) << "Save template writes over its own file";
    EXPECT_EQ(Listing(images), Sorted({"notes.txt", "photo.jpg"}));
    EXPECT_EQ(ReadFileBytes(images / "photo.jpg"), ReadFileBytes(a));
    EXPECT_EQ(f.layout->GetDirty(), 0);

    // Without images the previous copies go; the foreign file, and so the folder, stay.
    RemoveObjectAt(f.layout->ItemListHead(), 0);
    f.layout->SetDirty(1);
    f.commands.OnCommand(kCmdSaveTemplate);
    EXPECT_EQ(Listing(images), std::vector<std::string>{"notes.txt"});
    fs::remove(images / "notes.txt");
    f.layout->SetDirty(1);
    f.commands.OnCommand(kCmdSaveTemplate);
    EXPECT_FALSE(fs::exists(images)) << "an empty image folder goes with a save without images";
    EXPECT_TRUE(fs::is_regular_file(file));
}

TEST(TemplateCommands, ASaveWithoutImagesKeepsTheCopiesTheLayoutShows) {
    TemplateFixture f;
    f.AddImage(false, f.Picture("a", "photo.jpg"));
    f.layout->SetDirty(1);
    f.SaveAs(Fields("Album.kqt", 1));
    const fs::path file = f.Templates() / "Album.kqt";
    const fs::path images = TemplateImageFolder(file);
    // The layout as opened from the template: it shows the copy, whose original is gone.
    CImageObj* fromTemplate = f.AddImage(false, images / "photo.jpg");
    RemoveObjectAt(f.layout->ItemListHead(), 0);
    fs::remove_all(f.root.Path() / "a");
    ASSERT_EQ(f.ItemPaths(), std::vector<fs::path>{images / "photo.jpg"});

    f.SaveAs(Fields("Album.kqt", 0));

    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(Listing(images), std::vector<std::string>{"photo.jpg"});
    EXPECT_EQ(fromTemplate->GetFilePath(), images / "photo.jpg");
}

TEST(TemplateCommands, AnImageInTheFolderIsNeitherCopiedNorOverwritten) {
    TemplateFixture f;
    const fs::path file = f.Templates() / "Mappe.kqt";
    const fs::path images = TemplateImageFolder(file);
    fs::create_directories(images);
    WriteFileBytes(images / "photo.jpg", "already here");
    WriteFileBytes(images / "Photo0.JPG", "foreign");
    const fs::path outside = f.Picture("x", "photo.jpg");
    f.AddImage(false, outside);
    f.AddImage(false, images / "photo.jpg");
    f.layout->SetDirty(1);

    f.SaveAs(Fields("Mappe.kqt", 1));

    EXPECT_EQ(ReadFileBytes(images / "photo.jpg"), "already here");
    EXPECT_EQ(ReadFileBytes(images / "Photo0.JPG"), "foreign");
    EXPECT_EQ(ReadFileBytes(images / "photo1.jpg"), ReadFileBytes(outside));
    EXPECT_EQ(Sorted(FilesNamedInImageFolder(file, images)), Sorted({"photo.jpg", "photo1.jpg"}));
}

TEST(TemplateCommands, AFailedWritePutsEverythingBack) {
    TemplateFixture f;
    const fs::path a = f.Picture("a", "photo.jpg");
    f.AddImage(false, a);
    f.layout->SetDirty(1);
    f.SaveAs(Fields("Fest.kqt", 1, "Familie", "Erste"));
    const fs::path file = f.Templates() / "Fest.kqt";
    const fs::path images = TemplateImageFolder(file);
    const std::string oldBytes = ReadFileBytes(file);
    const std::vector<std::string> oldListing = Listing(images);
    const CTemplateInfoArray oldCatalog = TemplateCatalog();

    const fs::path b = f.Picture("b", "other.jpg");
    f.AddImage(false, b);
    f.layout->SetDirty(1);
    const LayoutTexts texts = f.layout->Texts();
    const std::string name = f.doc.TemplateFileName();

    struct Case {
        const char* what;
        int command;
        int failingCreate;  // the write whose rename fails: the copy of b, then the template
        AtomicWriteStep step;
    };
    for (const Case& c : {Case{"Save template: the file", kCmdSaveTemplate, 2, AtomicWriteStep::Rename},
                          Case{"Save template as: the file", kCmdSaveTemplateAs, 2, AtomicWriteStep::Rename},
                          Case{"Save template: a copy", kCmdSaveTemplate, 1, AtomicWriteStep::Rename},
                          Case{"Save template as: a copy", kCmdSaveTemplateAs, 1, AtomicWriteStep::Rename}}) {
        SCOPED_TRACE(c.what);
        f.messages.shown.clear();
        gCreates = 0;
        gFailRenameAtCreate = c.failingCreate;
        SetAtomicWriteStepHookForTests(FailRenameOfNthWrite);
        f.saveAs.answer = Fields("Fest.kqt", 1, "Andere", "Zweite");
        f.commands.OnCommand(c.command);
        SetAtomicWriteStepHookForTests(nullptr);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);

        EXPECT_EQ(f.messages.Ids(), std::vector<int>{59425});
        EXPECT_EQ(gCreates, c.failingCreate) << "nothing is written after a failed copy";
        EXPECT_EQ(ReadFileBytes(file), oldBytes);
        EXPECT_EQ(Listing(images), oldListing);
        ASSERT_EQ(TemplateCatalog().GetSize(), oldCatalog.GetSize());
        EXPECT_EQ(TemplateCatalog().ElementAt(0).ModifiedText, oldCatalog.ElementAt(0).ModifiedText);
        EXPECT_EQ(TemplateCatalog().ElementAt(0).Comment, oldCatalog.ElementAt(0).Comment);
        EXPECT_EQ(f.layout->Texts(), texts);
        EXPECT_EQ(f.doc.TemplateFileName(), name);
        EXPECT_EQ(f.layout->GetDirty(), 1);
        EXPECT_EQ(f.layout->GetSavedTemplate(), 1);
        EXPECT_EQ(f.layout->GetTemplate(), 0);
        EXPECT_EQ(f.ItemPaths(), (std::vector<fs::path>{a, b}));
    }
}

TEST(TemplateCommands, AFailedCopyOfANewTemplateLeavesNoFolder) {
    TemplateFixture f;
    f.AddImage(false, f.Picture("a", "photo.jpg"));
    f.AddImage(false, f.root.Path() / "missing" / "gone.jpg");
    f.layout->SetDirty(1);

    f.SaveAs(Fields("Neu.kqt", 1));

    EXPECT_EQ(f.messages.Ids(), std::vector<int>{59425});
    EXPECT_FALSE(fs::exists(f.Templates() / "Neu.kqt"));
    EXPECT_FALSE(fs::exists(f.Templates() / "Neu"));
    EXPECT_EQ(f.layout->GetDirty(), 1);
    EXPECT_EQ(f.layout->Texts().documentPath, "");
    EXPECT_TRUE(TemplateCatalog().IsEmpty());
}

TEST(TemplateCommands, TooLongCopyPathsAreRefusedBeforeAnything) {
    TemplateFixture f;
    f.AddImage(false, f.Picture("a", std::string(230, 'p') + ".jpg"));
    f.layout->SetDirty(1);
    f.SaveAs(Fields("Lang.kqt", 1));
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{59425});
    EXPECT_FALSE(fs::exists(f.Templates() / "Lang.kqt"));
    EXPECT_FALSE(fs::exists(f.Templates() / "Lang"));

    // Without images the length of the names does not matter.
    f.messages.shown.clear();
    f.SaveAs(Fields("Lang.kqt", 0));
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_TRUE(fs::is_regular_file(f.Templates() / "Lang.kqt"));
    EXPECT_FALSE(fs::exists(f.Templates() / "Lang"));
}

TEST(TemplateCommands, SaveTemplateGoesToSaveAsUnlessTheLayoutCameFromAUserTemplate) {
    TemplateFixture f;
    f.saveAs.answer.reset();
    // A standard template (no user category) and a layout file, written beforehand.
    const fs::path standard = f.root.Path() / "Standard.kqt";
    auto source = MakeSavableLayout();
    source->Texts().genreName = "Portrait";
    ASSERT_TRUE(SaveLayoutXml(standard, *source));
    const fs::path layoutFile = f.root.Path() / "plan.kqf";
    ASSERT_TRUE(SaveLayoutXml(layoutFile, *source));
    const std::string standardBytes = ReadFileBytes(standard), layoutBytes = ReadFileBytes(layoutFile);

    struct Case {
        const char* what;
        fs::path path;
        int dirty;
        int savedTemplate;
    };
    for (const Case& c : {Case{"never saved, clean", {}, 0, 1}, Case{"never saved, modified", {}, 1, 1},
                          Case{"standard template", standard, 1, 1}, Case{"layout file", layoutFile, 1, 0},
                          Case{"unmodified", standard, 0, 1}}) {
        SCOPED_TRACE(c.what);
        f.saveAs.presets.clear();
        f.layout->Texts().documentPath = c.path.string();
        f.layout->SetDirty(c.dirty);
        f.layout->SetSavedTemplate(c.savedTemplate);
        f.commands.OnCommand(kCmdSaveTemplate);
        EXPECT_EQ(f.saveAs.presets.size(), 1u);
        EXPECT_EQ(ReadFileBytes(standard), standardBytes);
        EXPECT_EQ(ReadFileBytes(layoutFile), layoutBytes);
        EXPECT_EQ(f.layout->GetDirty(), c.dirty);
    }
}

TEST(TemplateCommands, AStampInUseIsCopiedAndAnUnusedOneIsDropped) {
    TemplateFixture f;
    const fs::path logo = f.Picture("s", "logo.png");
    f.AddImage(false, f.Picture("a", "logo.png"));
    f.layout->SetImageStampInUse(1);
    f.layout->Texts().imageStampPath = logo.string();
    f.layout->SetStampImage(std::make_unique<CImageObj>(true));
    f.SaveAs(Fields("Stempel.kqt", 1));
    const fs::path file = f.Templates() / "Stempel.kqt";
    const fs::path images = TemplateImageFolder(file);
    EXPECT_EQ(Listing(images), Sorted({"logo.png", "logo0.png"}));
    EXPECT_EQ(ReadFileBytes(images / "logo0.png"), ReadFileBytes(logo));
    EXPECT_EQ(Sorted(FilesNamedInImageFolder(file, images)), Sorted({"logo.png", "logo0.png"}));
    EXPECT_EQ(f.layout->Texts().imageStampPath, logo.string());

    // Not in use: left out of the file; the layout loses it only once the file is written.
    f.layout->SetImageStampInUse(0);
    f.layout->SetDirty(1);
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    f.commands.OnCommand(kCmdSaveTemplate);
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{59425});
    EXPECT_EQ(f.layout->Texts().imageStampPath, logo.string());
    EXPECT_NE(f.layout->GetStampImage(), nullptr);

    f.commands.OnCommand(kCmdSaveTemplate);
    EXPECT_EQ(f.layout->Texts().imageStampPath, "");
    EXPECT_EQ(f.layout->GetStampImage(), nullptr);
    EXPECT_FALSE(ElementText(file, "ImageStampFileName"));
    EXPECT_FALSE(ElementText(file, "RelativeStampFileName"));
    EXPECT_EQ(Listing(images), std::vector<std::string>{"logo.png"}) << "the stamp's copy went with it";
}

TEST(TemplateCommands, OnlyTheFileHasOnePageInAutomaticLayout) {
    struct Case {
        const char* what;
        int free;
        bool freeLine;
        const char* pages;
    };
    for (const Case& c : {Case{"automatic", 0, false, "1"}, Case{"free", 1, false, "3"},
                          Case{"automatic with a free line", 0, true, "3"}}) {
        SCOPED_TRACE(c.what);
        TemplateFixture f;
        f.layout->SetFree(c.free);
        f.layout->SetPageNumber(3);
        if (c.freeLine) f.Add<CLineObj>(false);
        f.SaveAs(Fields("Seiten.kqt", 0));
        EXPECT_EQ(ElementText(f.Templates() / "Seiten.kqt", "PageNumber"), c.pages);
        EXPECT_EQ(f.layout->GetPageNumber(), 3);
    }
}

TEST(TemplateCommands, UpdateRules) {
    TemplateFixture f;
    AppPreferences preferences;
    AppPreferences restricted;
    restricted.doNotSave = 1;
    BoundDialogs none;
    const BoundDialogs bound = BoundDialogs().Set(SettingsDialogs::Dialog::SaveTemplateAs, true);
    struct Case {
        const char* what;
        bool layout;
        int dirty, savedTemplate;
        bool restricted, dialog;
        bool save, saveAs;
    };
    for (const Case& c : {Case{"no layout", false, 1, 1, false, true, false, false},
                          Case{"modified template", true, 1, 1, false, true, true, true},
                          Case{"unmodified template", true, 0, 1, false, true, false, true},
                          Case{"modified layout file", true, 1, 0, false, true, false, true},
                          Case{"restricted user", true, 1, 1, true, true, false, false},
                          Case{"dialog not bound", true, 1, 1, false, false, true, false}}) {
        SCOPED_TRACE(c.what);
        f.layout->SetDirty(c.dirty);
        f.layout->SetSavedTemplate(c.savedTemplate);
        const CLayoutSetting* l = c.layout ? f.layout : nullptr;
        const AppPreferences& p = c.restricted ? restricted : preferences;
        const BoundDialogs& d = c.dialog ? bound : none;
        EXPECT_EQ(TemplateCommands::State(kCmdSaveTemplate, l, p, d).enabled, c.save);
        EXPECT_EQ(TemplateCommands::State(kCmdSaveTemplateAs, l, p, d).enabled, c.saveAs);
    }
    // A restricted user's command does nothing, whatever reaches it.
    f.app.Preferences().doNotSave = 1;
    f.saveAs.answer = Fields("Nie.kqt", 0);
    f.commands.OnCommand(kCmdSaveTemplateAs);
    f.commands.OnCommand(kCmdSaveTemplate);
    EXPECT_TRUE(f.saveAs.presets.empty());
    EXPECT_FALSE(fs::exists(f.Templates()));
}

}  // namespace
}  // namespace vx::test
