#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../document/SettingCommandsFixture.h"
#include "app/MainFrameCommands.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/ImageAdding.h"
#include "model/LayoutLimits.h"
#include "platform/gfx/TextMeasurer.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

using gfx::TextMeasurer;
using test::CommandFixture;
using Dialog = SettingsDialogs::Dialog;

/// Half an em per character: enough for a text to have a box.
struct FixedMeasurer : TextMeasurer {
    std::optional<double> MeasureLine(std::string_view line, std::string_view, double size, int, bool) override {
        return double(line.size()) * size / 2;
    }
};

/// The main frame's dialogs as the window side runs them: a new free item is made in
/// the layout before the dialog and taken out on Cancel; the header and footer dialog
/// takes undo step 21 on OK. Each OK applies `edit` to the item or layout.
struct FrameDialogs : test::RecordingSettingsDialogs {
    UndoStore* undo = nullptr;
    std::function<void(CLayoutObj&)> edit;
    std::vector<CLayoutObj*> edited;
    int preferences = 0;
    int organiser = 0;
    int headerFooter = 0;

    bool RunFreeText(CLayoutSetting& layout, CLayoutObj* item) override {
        return RunItem(layout, item, kKindText);
    }
    bool RunFreeLine(CLayoutSetting& layout, CLayoutObj* item) override {
        return RunItem(layout, item, kKindLine);
    }
    bool RunHeaderFooter(CLayoutSetting& layout) override {
        ++headerFooter;
        if (!answer) return false;
        undo->PushUndo(layout, 21);
        if (change) change(layout);
        return true;
    }
    bool RunPreferences() override {
        ++preferences;
        return answer;
    }
    bool RunOrganizeTemplates() override {
        ++organiser;
        return answer;
    }

    bool RunItem(CLayoutSetting& layout, CLayoutObj* item, int kind) {
        CLayoutObj* target = item;
        if (!target) {
            target = kind == kKindText ? static_cast<CLayoutObj*>(CreateTextObject(&layout, layout.ItemListHead()))
                                       : CreateLineObject(&layout, layout.ItemListHead());
            if (kind == kKindText) static_cast<CTextObj*>(target)->SetText("Neu");
        }
        edited.push_back(item);
        if (!answer) {
            if (!item) DeleteLayoutObject(target, layout.ItemListHead());
            return false;
        }
        if (edit) edit(*target);
        if (!item) layout.SetCurrentItem(target);
        return true;
    }
};

/// What a test compares of a layout and of the undo store. The undo code is left out:
/// an entry given back carries code 5.
struct Picture {
    struct Item {
        int kind;
        LayoutPoint position;
        LayoutPoint size;
        int32_t selected;
        std::string text;
        friend bool operator==(const Item&, const Item&) = default;
    };
    std::vector<Item> items;
    int32_t dirty = 0;
    int32_t pageNumber = 0;
    std::string header;
    bool canUndo = false;
    std::vector<Item> undoItems;
    friend bool operator==(const Picture&, const Picture&) = default;
};

std::vector<Picture::Item> ItemsOf(const CLayoutSetting* layout) {
    std::vector<Picture::Item> items;
    if (!layout) return items;
    for (const CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) {
        const std::string text = p->GetKind() == kKindText ? static_cast<const CTextObj*>(p)->GetText() : "";
        items.push_back({p->GetKind(), p->GetPosition(), p->GetSize(), p->GetSelected(), text});
    }
    return items;
}

struct FrameFixture : CommandFixture {
    FrameDialogs frameDialogs;
    ScopedHostService<SettingsDialogs> installFrameDialogs{&frameDialogs};
    FixedMeasurer measurer;
    ScopedHostService<TextMeasurer> installMeasurer{&measurer};
    MainFrameCommands commands{&doc};

    FrameFixture() {
        frameDialogs.undo = &undo;
        layout->SetFree(1);
    }
    Picture Take() {
        Picture p;
        p.items = ItemsOf(layout);
        p.dirty = layout->GetDirty();
        p.pageNumber = layout->GetPageNumber();
        p.header = layout->Texts().headerText;
        p.canUndo = undo.CanUndo();
        p.undoItems = ItemsOf(undo.GetUndoLayout());
        return p;
    }
    CLineObj* Line(bool selected, int32_t x = 1000, int32_t y = 1000) {
        CLineObj* line = Add<CLineObj>(selected);
        line->SetPosition(x, y);
        return line;
    }
    CTextObj* Text(bool selected, const std::string& text = "Gruß") {
        CTextObj* item = Add<CTextObj>(selected);
        item->SetText(text);
        FontSpec font = item->GetFont();
        font.face = "DejaVu Sans";
        font.size = 50;
        item->SetFont(font);
        item->SetPosition(1200, 1200);
        return item;
    }
    /// An earlier edit the user could still undo.
    void EarlierUndo() {
        undo.PushUndo(*layout, 22);
        layout->SetPaperColor(0);
    }
};

TEST(MainFrameCommands, CancelLeavesItemsLayoutAndUndoAsBefore) {
    struct Case {
        const char* what;
        int command;
    };
    for (const Case& c : std::vector<Case>{{"insert text", 33003},
                                          {"insert line", 33005},
                                          {"edit text", 33004},
                                          {"edit line", 33006},
                                          {"header and footer", 32919}}) {
        for (const bool earlier : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (earlier ? ", with an earlier undo entry" : ", undo empty"));
            FrameFixture f;
            f.Line(c.command == 33006);
            f.Text(c.command == 33004);
            if (earlier) f.EarlierUndo();
            const Picture before = f.Take();
            f.frameDialogs.answer = false;
            f.commands.OnCommand(c.command);
            EXPECT_EQ(f.frameDialogs.edited.size() + size_t(f.frameDialogs.headerFooter), 1u) << "the dialog ran";
            EXPECT_TRUE(f.Take() == before);
            EXPECT_EQ(f.undo.CanUndo(), earlier);
            EXPECT_TRUE(f.messages.shown.empty());
        }
    }
}

TEST(MainFrameCommands, InsertPlacesTheNewItemAsOneUndoStep) {
    for (const int command : {33003, 33005}) {
        SCOPED_TRACE(command);
        FrameFixture f;
        f.EarlierUndo();
        f.commands.OnCommand(command);
        ASSERT_EQ(f.frameDialogs.edited.size(), 1u);
        EXPECT_EQ(f.frameDialogs.edited[0], nullptr) << "a new item";
        const CLayoutObj* item = f.layout->GetFirstItem();
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetKind(), command == 33003 ? kKindText : kKindLine);
        EXPECT_GT(item->GetPosition().x, kUnplacedX) << "placed";
        EXPECT_EQ(f.layout->GetDirty(), 1);
        EXPECT_EQ(f.undo.GetLastUndoCode(), 5);
        EXPECT_TRUE(ItemsOf(f.undo.GetUndoLayout()).empty()) << "undo takes the item out again";
        EXPECT_EQ(f.status.updates.back().code, 1);
        EXPECT_FALSE(f.host.pane.hints.empty());
    }
}

TEST(MainFrameCommands, InsertStopsAtTheItemLimit) {
    FrameFixture f;
    for (int i = 0; i < kMaxLayoutObjects; ++i) f.Line(false);
    const Picture before = f.Take();
    f.commands.OnCommand(33005);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].id, IDS_OBJECT_LIMIT);
    EXPECT_EQ(f.messages.shown[0].text, "Die maximale Anzahl von Objekten, die Sie einfügen können, beträgt 999.");
    EXPECT_TRUE(f.frameDialogs.edited.empty()) << "no dialog";
    EXPECT_TRUE(f.Take() == before);
}

TEST(MainFrameCommands, ATextThatCannotBeLaidOutIsNotKeptNorItsUndoStep) {
    FrameFixture f;
    f.Line(false);
    f.EarlierUndo();
    const Picture before = f.Take();
    // Without a measurer no text has a box.
    ScopedHostService<TextMeasurer> none{nullptr};
    f.commands.OnCommand(33003);
    EXPECT_TRUE(f.Take() == before);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 5) << "the earlier entry given back";
}

TEST(MainFrameCommands, EditChangesTheChosenItemAsOneUndoStep) {
    struct Case {
        int command;
        uint16_t code;
    };
    for (const Case& c : std::vector<Case>{{33006, 12}, {33004, 159}}) {
        SCOPED_TRACE(c.command);
        FrameFixture f;
        CLayoutObj* item = c.command == 33006 ? static_cast<CLayoutObj*>(f.Line(true)) : f.Text(true);
        f.Line(false);
        f.frameDialogs.edit = [](CLayoutObj& o) {
            if (o.GetKind() == kKindText) static_cast<CTextObj&>(o).SetText("Geändert");
            if (o.GetKind() == kKindLine) static_cast<CLineObj&>(o).SetLineColor(0x0000FF);
        };
        f.commands.OnCommand(c.command);
        ASSERT_EQ(f.frameDialogs.edited, std::vector<CLayoutObj*>{item});
        EXPECT_EQ(f.undo.GetLastUndoCode(), c.code);
        EXPECT_EQ(f.layout->GetDirty(), 1);
        EXPECT_EQ(f.status.updates.back().code, 1);
        ASSERT_EQ(f.layout->GetFirstItem(), item) << "kept";
        if (c.command == 33004) EXPECT_EQ(static_cast<CTextObj*>(item)->GetText(), "Geändert");
    }
}

TEST(MainFrameCommands, AnEditedTextThatComesOutEmptyIsRemovedAndCanBeUndone) {
    FrameFixture f;
    f.Text(true);
    f.frameDialogs.edit = [](CLayoutObj& o) { static_cast<CTextObj&>(o).SetText(""); };
    f.commands.OnCommand(33004);
    EXPECT_EQ(f.layout->GetFirstItem(), nullptr);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 159);
    EXPECT_EQ(ItemsOf(f.undo.GetUndoLayout()).size(), 1u);
}

TEST(MainFrameCommands, ADoubleClickAmongSelectedLinesEditsTheFlaggedOne) {
    FrameFixture f;
    CLineObj* a = f.Line(true);
    CLineObj* b = f.Line(true);
    b->SetDblClickSelected(1);
    f.commands.EditFreeLine();
    EXPECT_EQ(f.frameDialogs.edited, std::vector<CLayoutObj*>{b});
    EXPECT_EQ(a->GetDblClickSelected() + b->GetDblClickSelected(), 0) << "flags cleared";

    SCOPED_TRACE("nothing flagged: nothing edited, the undo entry kept");
    f.EarlierUndo();
    const Picture before = f.Take();
    f.frameDialogs.edited.clear();
    f.commands.EditFreeLine();
    EXPECT_TRUE(f.frameDialogs.edited.empty());
    EXPECT_TRUE(f.Take() == before);
}

TEST(MainFrameCommands, HeaderFooterRefusalsPutTheLayoutAndUndoBack) {
    struct Case {
        const char* what;
        std::function<void(FrameFixture&)> setup;
        int message;
    };
    const std::vector<Case> cases = {
        // A line on page 4 of a layout allowed 2 pages.
        {"more pages than allowed",
         [](FrameFixture& f) { f.layout->SetPageMax(2), f.Line(false, 1000, 3 * 4209 + 100); },
         IDS_PAPER_LENGTH_LIMIT},
        // 91 pages of 210 x 297 mm print at 90 ppi.
        {"90 ppi",
         [](FrameFixture& f) {
             f.layout->SetPageMax(100), f.layout->SetPaperWidth(2100), f.layout->SetPaperLength(2970);
             f.Line(false, 1000, 90 * 4209 + 100);
         },
         IDS_PAGE_COUNT_LIMIT},
    };
    for (const Case& c : cases) {
        for (const bool earlier : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (earlier ? ", with an earlier undo entry" : ""));
            FrameFixture f;
            f.layout->SetFree(0);
            c.setup(f);
            if (earlier) f.EarlierUndo();
            const Picture before = f.Take();
            f.frameDialogs.change = [](CLayoutSetting& l) { l.Texts().headerText = "Kopf"; };
            f.commands.OnCommand(32919);
            ASSERT_EQ(f.messages.shown.size(), 1u);
            EXPECT_EQ(f.messages.shown[0].id, c.message);
            EXPECT_TRUE(f.Take() == before);
            EXPECT_EQ(f.undo.CanUndo(), earlier);
        }
    }
}

TEST(MainFrameCommands, HeaderFooterOkRebuildsTheTextsAndMarksTheLayout) {
    FrameFixture f;
    f.Line(false);
    f.frameDialogs.change = [](CLayoutSetting& l) { l.Texts().headerText = "Kopf"; };
    f.commands.OnCommand(32919);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.layout->Texts().headerText, "Kopf");
    EXPECT_EQ(f.host.services.headerFooterPages, std::vector<int>{0});
    EXPECT_EQ(f.undo.GetLastUndoCode(), 21) << "the dialog's own step, not pushed twice";
    EXPECT_EQ(f.undo.GetUndoLayout()->Texts().headerText, "");
    EXPECT_EQ(f.layout->GetDirty(), 1);
}

TEST(MainFrameCommands, PreferencesRedrawAndShowTheQuickPrintStateEvenAfterCancel) {
    struct Case {
        int32_t free;
        int32_t quickPrint;
        int state;
    };
    for (const Case& c : std::vector<Case>{{0, 1, 10}, {1, 1, 9}, {0, 0, 9}}) {
        for (const bool ok : {true, false}) {
            SCOPED_TRACE(testing::Message() << "free " << c.free << " quick " << c.quickPrint << " ok " << ok);
            FrameFixture f;
            f.layout->SetFree(c.free);
            f.app.preferences.quickPrint = c.quickPrint;
            f.frameDialogs.answer = ok;
            f.commands.OnCommand(32802);
            EXPECT_EQ(f.frameDialogs.preferences, 1);
            EXPECT_EQ(f.host.view.invalidations, 1);
            EXPECT_EQ(f.host.shell.quickPrintStates, std::vector<int>{c.state});
            EXPECT_EQ(f.host.pane.templateTexts, std::vector<const CLayoutSetting*>{f.layout});
        }
    }
}

TEST(MainFrameCommandStates, FollowTheWindowTheSelectionAndTheRestrictedFlag) {
    struct Case {
        const char* what;
        std::function<void(FrameFixture&)> setup;
        int command;
        bool enabled;
    };
    const auto none = [](FrameFixture&) {};
    const std::vector<Case> cases = {
        {"preferences", none, 32802, true},
        {"organiser", none, 32806, true},
        {"organiser for a restricted user", [](FrameFixture& f) { f.app.preferences.doNotSave = 1; }, 32806, false},
        {"header and footer", none, 32919, true},
        {"insert text", none, 33003, true},
        {"insert line", none, 33005, true},
        {"edit line, one line selected", [](FrameFixture& f) { f.Line(true), f.Text(false); }, 33006, true},
        {"edit line, two lines selected", [](FrameFixture& f) { f.Line(true), f.Line(true); }, 33006, false},
        {"edit line, line and image selected", [](FrameFixture& f) { f.Line(true), f.AddImage(true); }, 33006, false},
        {"edit line, line and text selected", [](FrameFixture& f) { f.Line(true), f.Text(true); }, 33006, false},
        {"edit line, only a text selected", [](FrameFixture& f) { f.Text(true); }, 33006, false},
        {"edit text, one text selected", [](FrameFixture& f) { f.Text(true), f.Line(false); }, 33004, true},
        {"edit text, nothing selected", [](FrameFixture& f) { f.Text(false); }, 33004, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameFixture f;
        c.setup(f);
        EXPECT_EQ(MainFrameCommands::State(c.command, &f.doc, f.app.preferences, BoundDialogs::All()).enabled,
                  c.enabled);
    }
    SCOPED_TRACE("no layout window");
    FrameFixture f;
    for (int command : {32919, 33003, 33004, 33005, 33006})
        EXPECT_FALSE(MainFrameCommands::State(command, nullptr, f.app.preferences, BoundDialogs::All()).enabled);
    EXPECT_TRUE(MainFrameCommands::State(32802, nullptr, f.app.preferences, BoundDialogs::All()).enabled);
    SCOPED_TRACE("dialogs not bound");
    for (int command : {32802, 32806, 32919, 33003, 33005})
        EXPECT_FALSE(MainFrameCommands::State(command, &f.doc, f.app.preferences, BoundDialogs()).enabled);
}

}  // namespace
}  // namespace vx
