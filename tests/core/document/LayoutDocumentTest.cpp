#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>

#include "LayoutLoadFixtures.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "host/DocumentServices.h"
#include "model/ImageAdding.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Format.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::Images;

struct ScriptedDocumentServices : DocumentServices {
    std::vector<std::optional<SaveLayoutChoice>> answers;  // one per dialog; Cancel when used up
    struct Asked {
        fs::path folder;
        std::string name;
        bool relative;
    };
    std::vector<Asked> asked;
    std::vector<fs::path> recent;
    fs::path documents;
    bool throwInDialog = false;
    bool acceptProposal = false;  // OK on the proposed folder and name

    std::optional<SaveLayoutChoice> ChooseSaveLayoutPath(const fs::path& folder, const std::string& name,
                                                         bool relative) override {
        if (throwInDialog) throw std::runtime_error("dialog failed");
        asked.push_back({folder, name, relative});
        if (acceptProposal) return SaveLayoutChoice{folder / name, relative};
        return asked.size() <= answers.size() ? answers[asked.size() - 1] : std::nullopt;
    }
    void AddRecentFile(const fs::path& path) override { recent.push_back(path); }
    fs::path DocumentsFolder() override { return documents; }
    void RenewMainTitle() override {}
};

struct ScriptedSettingsDialogs : SettingsDialogs {
    std::optional<fs::path> chosenTemplate;
    int choices = 0;
    bool Has(Dialog) override { return true; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<fs::path> ChooseTemplate() override {
        ++choices;
        return chosenTemplate;
    }
};

struct ChoosingToolWindows : test::ScriptedToolWindows {
    std::vector<fs::path> chosen;
    std::vector<fs::path> ChooseImageFiles(const fs::path& start) override {
        startFolders.push_back(start);
        ++dialogs;
        return chosen;
    }
};

struct CreatingShell : test::RecordingShell {
    bool creating = false;
    bool IsViewCreating() override { return creating; }
};

/// The framework document around a CGPDoc as the window side behaves: a close asks
/// SaveModified and frees the layout when allowed.
struct TestOwner : DocumentOwner {
    CGPDoc* doc = nullptr;
    int closed = 0;
    std::string title;
    fs::path path;
    bool CloseDocument() override {
        if (!doc->SaveModified()) return false;
        doc->DeleteLayout();
        ++closed;
        return true;
    }
    void SetDocumentTitle(const std::string& t) override { title = t; }
    void SetDocumentPath(const fs::path& p) override { path = p; }
};

struct OwnedDoc {
    TestOwner owner;
    CGPDoc doc{&owner};
    OwnedDoc() { owner.doc = &doc; }
};

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class LayoutDocument : public test::LayoutLoadTest {
protected:
    LayoutDocument() {
        app.undo = &undo;
        shell.pane = &pane;
        services.documents = root.Path() / "Dokumente";
        fs::create_directories(services.documents);
    }
    ~LayoutDocument() override {
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        EXPECT_EQ(AppBusyFlag(), 0) << "the busy flag was left set";
    }

    /// A layout as New or Open leaves it: with view state, profiles the reader accepts.
    std::unique_ptr<CLayoutSetting> MakeLayout() {
        auto layout = test::MakeSavableLayout();
        layout->SetColorIntentRGB(1);
        layout->SetColorIntentSimulation(3);
        LayoutTexts& t = layout->Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = test::kTestProfile;
        layout->GetBaseImage()->SetSourceProfile(test::kTestProfile);
        layout->GetBaseImage()->SetSimulationProfile(test::kTestProfile);
        layout->RenewViewState();
        return layout;
    }
    fs::path WriteLayoutFile(const std::string& relative) {
        const fs::path p = root.Path() / relative;
        fs::create_directories(p.parent_path());
        auto layout = MakeLayout();
        EXPECT_TRUE(SaveLayoutXml(p, *layout));
        return p;
    }
    /// A document holding a changed layout saved before at path (empty: never saved).
    void Give(CGPDoc& doc, const fs::path& path = {}, bool dirty = true) {
        auto layout = MakeLayout();
        layout->Texts().documentPath = path.string();
        layout->SetSavedLayout(path.empty() ? 0 : 1);
        layout->SetDirty(dirty ? 1 : 0);
        doc.AdoptLayout(std::move(layout));
    }

    UndoStore undo;
    CreatingShell shell;
    test::RecordingPrintSettingsPane pane;
    ScopedHostService<Shell> installShell{&shell};
    ScriptedDocumentServices services;
    ScopedHostService<DocumentServices> installServices{&services};
    ScriptedSettingsDialogs settings;
    ScopedHostService<SettingsDialogs> installSettings{&settings};
};

TEST(LayoutDocumentPaths, RootLengthAndRelativePaths) {
    EXPECT_EQ(GetPathRootLength("/home/a.kqf"), 1u);
    EXPECT_EQ(GetPathRootLength("a.kqf"), 0u);
    EXPECT_EQ(GetPathRootLength(""), 0u);

    CLayoutSetting layout(true);
    EXPECT_TRUE(CanSaveRelativePaths(layout, "/home/u/a.kqf"));
    EXPECT_FALSE(CanSaveRelativePaths(layout, "a.kqf"));
    test::AddImage(layout, "/media/stick/b.jpg");
    EXPECT_TRUE(CanSaveRelativePaths(layout, "/home/u/a.kqf"));
    test::AddImage(layout, "c.jpg");
    EXPECT_FALSE(CanSaveRelativePaths(layout, "/home/u/a.kqf"));
}

TEST_F(LayoutDocument, SaveOfALayoutNeverSavedAsLayoutOpensSaveAs) {
    CGPDoc doc;
    Give(doc);
    EXPECT_FALSE(doc.CanSave());
    doc.OnFileSave();
    ASSERT_EQ(services.asked.size(), 1u);
    EXPECT_EQ(services.asked[0].name, FormatTemplate(LoadString(IDS_UNTITLED_LAYOUT), {0LL}) + ".kqf");
    EXPECT_EQ(services.asked[0].folder, services.documents);

    const fs::path saved = root.Path() / "a.kqf";
    CGPDoc other;
    Give(other, saved);
    EXPECT_TRUE(other.CanSave());
    other.GetLayout()->SetDirty(0);
    EXPECT_FALSE(other.CanSave());
    other.GetLayout()->SetDirty(1);
    {
        BusyScope busy;
        EXPECT_FALSE(other.CanSave());
        EXPECT_FALSE(other.CanSaveAs());
    }
    other.OnFileSave();
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_EQ(other.GetLayout()->GetDirty(), 0);
    EXPECT_EQ(pane.resets, 1);
}

TEST_F(LayoutDocument, SaveModifiedAnswers) {
    const struct Case {
        int answer;
        bool allowed, written, refused;
    } cases[] = {
        {kIdYes, true, true, false},
        {kIdNo, true, false, false},
        {kIdCancel, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const fs::path path = root.Path() / ("m" + std::to_string(c.answer) + ".kqf");
        CGPDoc first;
        CGPDoc doc;
        Give(doc, path);
        messages.shown.clear();
        messages.answer = c.answer;
        EXPECT_EQ(doc.SaveModified(), c.allowed);
        ASSERT_EQ(messages.Ids(), std::vector<int>{IDS_SAVE_BEFORE_CLOSING});
        EXPECT_EQ(messages.shown[0].text, "Möchten Sie \"" + path.filename().string() + "\" vor dem Schließen speichern?");
        EXPECT_EQ(messages.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(fs::exists(path), c.written);
        EXPECT_EQ(first.CloseRefused(), c.refused);
    }
}

TEST_F(LayoutDocument, SaveModifiedWithAFailedSaveRefusesTheClose) {
    CGPDoc first;
    CGPDoc doc;
    Give(doc, root.Path() / "gibt es nicht" / "a.kqf");
    messages.answer = kIdYes;
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_SAVE_BEFORE_CLOSING, IDS_FILE_NOT_SAVED}));
    EXPECT_TRUE(first.CloseRefused());
    EXPECT_EQ(doc.GetLayout()->GetDirty(), 1);
}

TEST_F(LayoutDocument, SaveModifiedOffersOnlyYesAndNoWhileAViewIsCreated) {
    shell.creating = true;
    CGPDoc doc;
    Give(doc, root.Path() / "a.kqf");
    messages.answer = kIdNo;
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(messages.shown.at(0).buttons, Buttons::YesNo);
}

TEST_F(LayoutDocument, SaveModifiedLetsCleanOrEmptyDocumentsClose) {
    CGPDoc empty;
    EXPECT_TRUE(empty.SaveModified());
    CGPDoc clean;
    Give(clean, root.Path() / "a.kqf", false);
    EXPECT_TRUE(clean.SaveModified());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LayoutDocument, RelativePathQuestion) {
    for (int answer : {kIdOk, kIdCancel}) {
        SCOPED_TRACE(answer);
        const fs::path path = root.Path() / ("r" + std::to_string(answer) + ".kqf");
        CGPDoc doc;
        Give(doc, path);
        doc.GetLayout()->SetRelative(1);
        test::AddImage(*doc.GetLayout(), "kein/absoluter/pfad.jpg");
        messages.shown.clear();
        messages.answer = answer;
        doc.OnFileSave();
        EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_RELATIVE_PATHS_IMPOSSIBLE});
        EXPECT_EQ(fs::exists(path), answer == kIdOk);
        EXPECT_EQ(doc.GetLayout()->GetRelative(), answer == kIdOk ? 0 : 1);
    }
}

TEST_F(LayoutDocument, SaveAsAppendsTheExtensionUnlessItIsExactlyKqf) {
    const struct Case {
        const char* chosen;
        const char* written;
    } cases[] = {{"plan", "plan.kqf"}, {"plan.kqf", "plan.kqf"}, {"plan.KQF", "plan.KQF.kqf"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        const fs::path folder = root.Path() / ("x" + std::string(c.chosen));
        fs::create_directories(folder);
        OwnedDoc d;
        Give(d.doc);
        services.asked.clear();
        services.answers = {SaveLayoutChoice{folder / c.chosen, false}};
        EXPECT_TRUE(d.doc.DoSaveAs());
        EXPECT_TRUE(fs::exists(folder / c.written));
        EXPECT_EQ(d.doc.GetLayout()->Texts().documentPath, (folder / c.written).string());
        EXPECT_EQ(d.owner.path, folder / c.written);
        EXPECT_EQ(d.doc.DefaultPath(), (folder / c.written).string());
        EXPECT_EQ(d.doc.GetLayout()->GetDirty(), 0);
        EXPECT_EQ(d.doc.GetLayout()->GetSavedLayout(), 1);
        EXPECT_EQ(services.recent.back(), folder / c.written);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LayoutDocument, SaveAsProposesTheLayoutExtensionForATemplatesName) {
    const struct Case {
        const char* path;  // the layout's path
        int savedLayout;
        const char* proposed;
    } cases[] = {
        {"Vorlagen/Foto_A4.kqt", 0, "Foto_A4.kqf"}, {"Vorlagen/Foto_A4.KQT", 0, "Foto_A4.kqf"},
        {"Vorlagen/Foto.A4.Kqt", 0, "Foto.A4.kqf"}, {"Ablage/plan.kqf", 1, "plan.kqf"},
        {"Ablage/Karte.kqt.kqf", 1, "Karte.kqt.kqf"}, {"Ablage/Karte.kqtx", 1, "Karte.kqtx"},
        {"Ablage/Karte-kqt", 1, "Karte-kqt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const fs::path path = root.Path() / c.path;
        CGPDoc doc;
        Give(doc, path);
        doc.GetLayout()->SetSavedLayout(c.savedLayout);
        services.asked.clear();
        services.answers.clear();  // Cancel
        EXPECT_FALSE(doc.DoSaveAs());
        ASSERT_EQ(services.asked.size(), 1u);
        EXPECT_EQ(services.asked[0].name, c.proposed);
        EXPECT_EQ(services.asked[0].folder, c.savedLayout ? path.parent_path() : services.documents);
        EXPECT_EQ(doc.GetLayout()->Texts().documentPath, path.string()) << "Cancel changes nothing";
    }

    // A new layout from a template, saved with the proposed name, is a layout file.
    settings.chosenTemplate = WriteLayoutFile("Vorlagen/Foto_A4.kqt");
    OwnedDoc d;
    ASSERT_TRUE(d.doc.OnNewDocument());
    services.asked.clear();
    services.acceptProposal = true;
    EXPECT_TRUE(d.doc.DoSaveAs());
    EXPECT_TRUE(fs::exists(services.documents / "Foto_A4.kqf"));
    EXPECT_FALSE(fs::exists(services.documents / "Foto_A4.kqt.kqf"));
    EXPECT_EQ(d.owner.path, services.documents / "Foto_A4.kqf");
}

TEST_F(LayoutDocument, SaveAsOverAnExistingFileAsksAndNoKeepsIt) {
    const fs::path existing = root.Path() / "plan.kqf";
    std::ofstream(existing) << "alter Plan";
    CGPDoc doc;
    Give(doc);
    services.answers = {SaveLayoutChoice{root.Path() / "plan", false}};  // then Cancel
    messages.answer = kIdNo;
    EXPECT_FALSE(doc.DoSaveAs());
    ASSERT_EQ(messages.Ids(), std::vector<int>{IDS_REPLACE_EXISTING_FILE});
    EXPECT_EQ(messages.shown[0].text, "Die Datei „plan.kqf“ ist bereits vorhanden.\nMöchten Sie sie ersetzen?");
    ASSERT_EQ(services.asked.size(), 2u) << "No reopens the dialog";
    EXPECT_EQ(services.asked[1].name, "plan");
    EXPECT_EQ(Bytes(existing), "alter Plan");
    EXPECT_EQ(doc.GetLayout()->GetDirty(), 1);

    messages.shown.clear();
    messages.answer = kIdYes;
    services.asked.clear();
    EXPECT_TRUE(doc.DoSaveAs());
    EXPECT_NE(Bytes(existing), "alter Plan");
}

TEST_F(LayoutDocument, AFailedSaveAsPutsEverythingBack) {
    const fs::path existing = root.Path() / "alt" / "plan.kqf";
    fs::create_directories(existing.parent_path());
    std::ofstream(existing) << "alter Plan";
    const fs::path before = root.Path() / "vorher.kqf";
    CGPDoc doc;
    Give(doc, before);
    CLayoutSetting& layout = *doc.GetLayout();
    layout.Texts().comment = "Kommentar";
    layout.SetRelative(1);
    services.answers = {SaveLayoutChoice{existing, true}};
    messages.answer = kIdYes;
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(doc.DoSaveAs());
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_REPLACE_EXISTING_FILE, IDS_FILE_NOT_SAVED}));
    EXPECT_EQ(messages.shown[1].icon, Icon::Error);
    EXPECT_EQ(layout.Texts().documentPath, before.string());
    EXPECT_EQ(layout.Texts().comment, "Kommentar");
    EXPECT_EQ(layout.GetRelative(), 1);
    EXPECT_EQ(layout.GetDirty(), 1);
    EXPECT_EQ(doc.DefaultPath(), "");
    EXPECT_EQ(Bytes(existing), "alter Plan");
    size_t files = 0;
    for (auto& e : fs::directory_iterator(existing.parent_path())) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "a temporary file was left";
}

TEST_F(LayoutDocument, SaveAsPresetsTheRelativeBoxAndFallsBackToAbsolutePaths) {
    CGPDoc doc;
    Give(doc);
    doc.GetLayout()->SetRelative(1);
    test::AddImage(*doc.GetLayout(), "relativ.jpg");
    services.answers = {SaveLayoutChoice{root.Path() / "a.kqf", true}, SaveLayoutChoice{root.Path() / "b.kqf", true}};
    messages.answers = {kIdCancel, kIdOk};
    EXPECT_FALSE(doc.DoSaveAs());
    EXPECT_TRUE(services.asked.at(0).relative);
    EXPECT_FALSE(fs::exists(root.Path() / "a.kqf"));
    EXPECT_EQ(doc.GetLayout()->Texts().documentPath, "");
    EXPECT_TRUE(doc.DoSaveAs());
    EXPECT_TRUE(fs::exists(root.Path() / "b.kqf"));
    EXPECT_EQ(doc.GetLayout()->GetRelative(), 0);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_RELATIVE_PATHS_IMPOSSIBLE, IDS_RELATIVE_PATHS_IMPOSSIBLE}));
}

TEST_F(LayoutDocument, TheBusyFlagIsClearedWhenTheDialogThrows) {
    CGPDoc doc;
    Give(doc);
    services.throwInDialog = true;
    EXPECT_THROW(doc.DoSaveAs(), std::runtime_error);
    EXPECT_EQ(AppBusyFlag(), 0);
    ASSERT_GE(shell.toolBarRefreshes.size(), 2u);
    EXPECT_EQ(shell.toolBarRefreshes.back(), 255);
}

TEST_F(LayoutDocument, NewLoadsTheTemplateAndNumbersUntitledLayouts) {
    const fs::path tpl = WriteLayoutFile("Vorlagen/Karte.kqt");
    settings.chosenTemplate = tpl;
    const uint16_t start = UntitledLayoutCounter();
    OwnedDoc a;
    ASSERT_TRUE(a.doc.OnNewDocument());
    EXPECT_EQ(a.doc.GetLayout()->GetViewState()->untitledNumber, start + 1);
    EXPECT_EQ(a.doc.GetLayout()->GetSavedLayout(), 0);
    EXPECT_EQ(a.doc.GetLayout()->GetSavedTemplate(), 1);
    EXPECT_EQ(a.doc.TemplateFileName(), "Karte.kqt");
    EXPECT_EQ(services.recent.back(), fs::canonical(tpl));

    OwnedDoc b;
    ASSERT_TRUE(b.doc.OnNewDocument());
    EXPECT_EQ(b.doc.GetLayout()->GetViewState()->untitledNumber, start + 2);
    EXPECT_EQ(a.owner.closed, 1) << "the clean old layout is closed";
}

TEST_F(LayoutDocument, NewWithoutAnyTemplateStartsFromTheDefaultLayout) {
    app.defaults.SetPaperSize(9);
    app.defaults.SetPaperLength(2970);
    settings.chosenTemplate = fs::path();  // the chooser found no template
    const uint16_t start = UntitledLayoutCounter();
    const size_t recentBefore = services.recent.size();
    OwnedDoc a;
    ASSERT_TRUE(a.doc.OnNewDocument());
    CLayoutSetting* layout = a.doc.GetLayout();
    ASSERT_NE(layout, nullptr);
    EXPECT_NE(layout, &app.defaults);
    EXPECT_EQ(layout->GetPaperSize(), 9);
    EXPECT_EQ(layout->GetPaperLength(), 2970);
    EXPECT_EQ(layout->GetViewState()->untitledNumber, start + 1);
    EXPECT_EQ(layout->GetSavedTemplate(), 1);
    EXPECT_EQ(a.doc.TemplateFileName(), "");
    EXPECT_EQ(services.recent.size(), recentBefore) << "no file to remember";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LayoutDocument, NewThatCannotGoOnKeepsTheOldLayout) {
    const fs::path tpl = WriteLayoutFile("Vorlagen/Karte.kqt");
    const fs::path broken = Touch("Vorlagen/kaputt.kqt", "kein xml");
    const struct Case {
        const char* name;
        std::optional<fs::path> chosen;
        int answer;  // to the save question of the old layout
        bool prepares;
        int shownLast;
    } cases[] = {
        {"chooser cancelled", std::nullopt, kIdNo, true, 0},
        {"close refused", tpl, kIdCancel, true, IDS_SAVE_BEFORE_CLOSING},
        {"template unreadable", broken, kIdNo, true, IDS_FILE_NOT_READABLE},
        {"not prepared", tpl, kIdNo, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnedDoc old;
        Give(old.doc, root.Path() / "alt.kqf", c.answer == kIdCancel);
        CLayoutSetting* oldLayout = old.doc.GetLayout();
        settings.chosenTemplate = c.chosen;
        app.prepareResult = c.prepares;
        messages.shown.clear();
        messages.answer = c.answer;
        const uint16_t counter = UntitledLayoutCounter();
        OwnedDoc fresh;
        EXPECT_FALSE(fresh.doc.OnNewDocument());
        EXPECT_EQ(fresh.doc.GetLayout(), nullptr);
        EXPECT_EQ(UntitledLayoutCounter(), counter);
        EXPECT_EQ(old.doc.GetLayout(), oldLayout);
        EXPECT_EQ(old.owner.closed, 0);
        if (c.shownLast) {
            ASSERT_FALSE(messages.shown.empty());
            EXPECT_EQ(messages.shown.back().id, c.shownLast);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
    }
    app.prepareResult = true;
}

TEST_F(LayoutDocument, OpenSetsTheFlagsByExtensionAndRefusesMissingFiles) {
    const fs::path layoutFile = WriteLayoutFile("Arbeit/Fotos.kqf");
    const fs::path templateFile = WriteLayoutFile("Arbeit/Karte.KQT");
    OwnedDoc a;
    ASSERT_TRUE(a.doc.OnOpenDocument(root.Path() / "Arbeit" / ".." / "Arbeit" / "Fotos.kqf"));
    EXPECT_EQ(a.owner.title, "Fotos");
    EXPECT_EQ(a.doc.GetLayout()->Texts().documentPath, fs::canonical(layoutFile).string());
    EXPECT_EQ(a.doc.GetLayout()->GetSavedLayout(), 1);

    OwnedDoc b;
    ASSERT_TRUE(b.doc.OnOpenDocument(templateFile));
    EXPECT_EQ(b.doc.GetLayout()->GetSavedLayout(), 0);
    EXPECT_EQ(b.doc.GetLayout()->GetSavedTemplate(), 1);
    EXPECT_EQ(b.doc.TemplateFileName(), "Karte.KQT");
    EXPECT_EQ(a.owner.closed, 1);

    OwnedDoc c;
    EXPECT_FALSE(c.doc.OnOpenDocument(root.Path() / "fehlt.kqf"));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
    EXPECT_NE(b.doc.GetLayout(), nullptr) << "a missing file does not close the open layout";
}

TEST_F(LayoutDocument, OpeningTheOpenChangedFileAsksBeforeDiscarding) {
    const fs::path file = WriteLayoutFile("Fotos.kqf");
    OwnedDoc open;
    ASSERT_TRUE(open.doc.OnOpenDocument(file));
    open.doc.GetLayout()->SetDirty(1);
    CLayoutSetting* layout = open.doc.GetLayout();

    messages.answer = kIdNo;
    OwnedDoc again;
    EXPECT_FALSE(again.doc.OnOpenDocument(file));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_DISCARD_CURRENT_LAYOUT});
    EXPECT_EQ(open.doc.GetLayout(), layout);
    EXPECT_EQ(layout->GetDirty(), 1);

    messages.shown.clear();
    messages.answer = kIdYes;
    OwnedDoc third;
    EXPECT_TRUE(third.doc.OnOpenDocument(file));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_DISCARD_CURRENT_LAYOUT}) << "the close does not ask again";
    EXPECT_EQ(open.doc.GetLayout(), nullptr);
}

class LoadImage : public LayoutDocument {
protected:
    LoadImage() {
        previousAdder = SetImageFileAdder([this](CLayoutSetting& layout, const fs::path& path) {
            added.push_back(path.filename().string());
            const int outcome = outcomes.count(path.filename().string()) ? outcomes[path.filename().string()] : kAddDone;
            if (outcome == kAddDone) test::AddImage(layout, path.string());
            return outcome;
        });
        Give(doc, {}, false);
        doc.GetLayout()->SetFree(0);
    }
    ~LoadImage() override { SetImageFileAdder(previousAdder); }

    ImageFileAdder previousAdder;
    std::map<std::string, int> outcomes;
    std::vector<std::string> added;
    ChoosingToolWindows tools;
    ScopedHostService<ToolWindows> installTools{&tools};
    CGPDoc doc;
};

TEST_F(LoadImage, OutcomesEndTheLoopAsTheyShould) {
    const struct Case {
        int second;  // outcome of the second of three files
        int result;
        int status;
        int done;
        size_t tried;
    } cases[] = {
        {kAddDone, 0, kStatusReady, 3, 3},       {kAddRemovedAgain, 1, kStatusReady, 2, 2},
        {kAddSizeOutOfRange, 2, kStatusReady, 2, 2}, {kAddOutOfMemory, 4, kStatusReady, 2, 2},
        {kAddItemLimit, 4, kStatusReady, 2, 2},  {kAddNothing, 3, kStatusUnsupported, 2, 3},
    };
    tools.chosen = {Touch("a.jpg"), Touch("b.jpg"), Touch("c.jpg")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second);
        outcomes = {{"b.jpg", c.second}};
        added.clear();
        status.updates.clear();
        EXPECT_EQ(doc.OnLoadImage(), c.result);
        EXPECT_EQ(added.size(), c.tried);
        EXPECT_EQ(status.updates.back().code, c.status);
        EXPECT_EQ(doc.GetLayout()->GetViewState()->statusA, c.done);
        EXPECT_EQ(undo.GetLastUndoCode(), 36);
    }
    EXPECT_EQ(tools.startFolders.back(), services.documents);
}

TEST_F(LoadImage, CancelAndImportLockDoNothing) {
    EXPECT_EQ(doc.OnLoadImage(), 0);
    EXPECT_EQ(tools.dialogs, 1);
    app.importLocked = true;
    tools.chosen = {Touch("a.jpg")};
    EXPECT_EQ(doc.OnLoadImage(), 0);
    EXPECT_EQ(tools.dialogs, 1);
    EXPECT_TRUE(added.empty());
}

TEST_F(LoadImage, FoldersAreWalkedInNameOrderWithoutHiddenFilesOrLinkedFolders) {
    Touch("Ordner/b.jpg");
    Touch("Ordner/A.jpg");
    Touch("Ordner/.versteckt.jpg");
    Touch("Ordner/.cache/x.jpg");
    Touch("Ordner/c/d.jpg");
    Touch("Anderswo/e.jpg");
    fs::create_directory_symlink(root.Path() / "Anderswo", root.Path() / "Ordner" / "link");
    fs::create_directory_symlink(root.Path() / "Ordner", root.Path() / "Ordner" / "c" / "schleife");
    tools.chosen = {root.Path() / "Ordner"};
    EXPECT_EQ(doc.OnLoadImage(), 0);
    EXPECT_EQ(added, (std::vector<std::string>{"A.jpg", "b.jpg", "d.jpg"}));
    EXPECT_EQ(Images(*doc.GetLayout()).size(), 3u);
}

TEST_F(LoadImage, QuickPrintPutsTheLayoutBackAsBeforeTheLoad) {
    app.preferences.quickPrint = 1;
    app.preferences.confirmationDialogs = 0;
    tools.chosen = {Touch("a.jpg"), Touch("b.jpg")};
    doc.OnLoadImage();
    EXPECT_TRUE(Images(*doc.GetLayout()).empty());
    EXPECT_EQ(status.updates.back().code, kStatusReady);
}

}  // namespace
}  // namespace vx
