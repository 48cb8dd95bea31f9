#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/ArrangementCommands.h"
#include "document/LayoutDocument.h"
#include "document/ObjectSettingCommands.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ImageAdding.h"
#include "model/NewItemPlacement.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx::test {

/// Settings dialogs that record each run and, like the real dialogs, apply a scripted
/// change to the layout before they answer.
struct RecordingSettingsDialogs : SettingsDialogs {
    struct Run {
        Dialog dialog;
        CLayoutSetting* layout;
        bool flag;  // preset or same-image
    };
    BoundDialogs bound = BoundDialogs::All();
    bool answer = true;
    std::function<void(CLayoutSetting&)> change;
    std::vector<Run> runs;
    std::optional<uint32_t> colour;
    std::vector<uint32_t> colourInitials;

    bool Has(Dialog dialog) override { return bound.Has(dialog); }
    bool RunAutoRotate(CLayoutSetting& layout) override { return Record(Dialog::AutoRotate, layout, false); }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override {
        colourInitials.push_back(initial);
        return colour;
    }
    bool RunCrop(CLayoutSetting& layout, bool sameImage) override { return Record(Dialog::Crop, layout, sameImage); }
    bool RunTint(CLayoutSetting& layout) override { return Record(Dialog::Tint, layout, false); }
    bool RunMargins(CLayoutSetting& layout) override { return Record(Dialog::Margins, layout, false); }
    bool RunImageAlign(CLayoutSetting& layout) override { return Record(Dialog::ImageAlign, layout, false); }
    bool RunLabels(CLayoutSetting& layout, bool preset) override { return Record(Dialog::Labels, layout, preset); }
    bool RunCaption(CLayoutSetting& layout, bool preset) override { return Record(Dialog::Caption, layout, preset); }
    bool RunImageSizeDialog(CLayoutSetting& layout, bool preset) override {
        return Record(Dialog::ImageSize, layout, preset);
    }
    bool RunCutLineDialog(CLayoutSetting& layout) override { return Record(Dialog::CutLines, layout, false); }
    bool RunInputColorDefaults(CLayoutSetting& layout) override {
        return Record(Dialog::InputColorDefaults, layout, false);
    }

    bool Record(Dialog dialog, CLayoutSetting& layout, bool flag) {
        runs.push_back({dialog, &layout, flag});
        if (change) change(layout);
        return answer;
    }
};

/// The image file dialog answering the scripted paths.
struct ScriptedImageFiles : NoToolWindows {
    std::vector<std::filesystem::path> paths;
    int asked = 0;
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path&) override {
        ++asked;
        return paths;
    }
};

/// An open document with an A4 colour layout in automatic layout (room for 50 pages,
/// white background, a view state) and everything the commands reach: view, pane,
/// ports, the application with its undo store and default layout, the dialogs and the
/// image file dialog.
struct CommandFixture {
    TestRoot root;
    RecordingHost host;
    RecordingMessagePort messages;
    RecordingStatusPort status;
    ScopedPorts ports{&messages, nullptr, &status};
    UndoStore undo;
    InstalledApplicationState app;
    RecordingSettingsDialogs dialogs;
    ScopedHostService<SettingsDialogs> installDialogs{&dialogs};
    ScriptedImageFiles files;
    ScopedHostService<ToolWindows> installFiles{&files};
    CGPDoc doc;
    CLayoutSetting* layout = nullptr;
    ArrangementCommands arrangement{doc};
    ObjectSettingCommands objects{doc};

    CommandFixture() {
        app.undo = &undo;
        auto l = std::make_unique<CLayoutSetting>(true);
        l->SetType(kRecordTypeLayout);
        l->SetPaper({2976, 4209});
        l->SetMargin({100, 100, 100, 100});
        l->SetSpace({20, 20});
        l->SetAlign({1, 1});
        l->SetVerticalAlign(1);
        l->SetPageMax(50);
        l->SetPageNumber(1);
        l->SetColor(2);
        l->SetPaperColor(0xFFFFFF);
        ViewStateBlock& block = l->RenewViewState();
        block.zoomNumerator = block.zoomDenominator = 1;
        std::unique_ptr<CImageObj> base(CreateImageObj(nullptr, nullptr, "BaseImage"));
        base->SetSizeMethod(1);
        base->SetSize(720, 720);
        l->SetBaseImage(std::move(base));
        layout = l.get();
        doc.AdoptLayout(std::move(l));
        app.active = layout;
    }

    /// Appends an item of kind T, unplaced, optionally selected.
    template <class T>
    T* Add(bool selected, int32_t width = 300, int32_t height = 200) {
        auto item = std::make_unique<T>(true);
        T* raw = item.get();
        raw->SetOwner(layout);
        raw->SetPosition(kUnplacedX, 0);
        raw->SetSize(width, height);
        raw->SetSelected(selected ? 1 : 0);
        EXPECT_TRUE(AppendObject(layout->ItemListHead(), item));
        return raw;
    }
    CImageObj* AddImage(bool selected, const std::filesystem::path& path = {}) {
        CImageObj* image = Add<CImageObj>(selected);
        image->SetType(kRecordTypeLayout);
        image->SetFilePath(path);
        return image;
    }
    /// A file that exists (its content does not matter to the caller).
    std::filesystem::path File(const std::string& name) {
        const std::filesystem::path path = root.Path() / name;
        WriteFileBytes(path, "x");
        return path;
    }
};

}  // namespace vx::test
