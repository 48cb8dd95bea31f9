#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/init.h>
#include <wx/utils.h>

#include "document/ClipboardItemsXml.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ClipboardCommands.h"
#include "model/FreeTextItem.h"
#include "model/ImageAdding.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "ui/ClipboardBridge.h"

namespace {

class ClipboardTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

std::unique_ptr<vx::CLayoutSetting> FreeLayout() {
    auto layout = std::make_unique<vx::CLayoutSetting>(true);
    layout->SetPaper({2976, 4209});
    layout->SetFree(1);
    layout->SetPageMax(10);
    layout->RenewViewState();
    return layout;
}

std::vector<std::string> Texts(const vx::CLayoutSetting& layout) {
    std::vector<std::string> out;
    for (const vx::CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == vx::kKindText) out.push_back(static_cast<const vx::CTextObj*>(p)->GetText());
    return out;
}

vx::CTextObj* AddText(vx::CLayoutSetting& layout, const std::string& text) {
    vx::CTextObj* item = vx::CreateTextObject(&layout, layout.ItemListHead());
    item->SetText(text);
    item->SetPosition(500, 500);
    item->SetSize(400, 100);
    return item;
}

void SetText(const wxString& text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

// Pumps events until the bridge's answer about the clipboard is in.
bool AskAvailability(vx::ClipboardBridge& bridge) {
    bridge.RequestAvailability();
    for (int i = 0; i < 50; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
    return bridge.CanPaste();
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ClipboardTestApp);

TEST(ClipboardBridge, CopiesAndPastesThroughTheSystemClipboard) {
    int argc = 1;
    char arg0[] = "vellicorex-clipboard-test";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports(&messages);
    vx::UndoStore undo;
    vx::ItemClipboard items;
    vx::ClipboardBridge bridge(items);
    EXPECT_FALSE(bridge.CanPaste());

    // Copy puts the private format on the system clipboard.
    auto first = FreeLayout();
    AddText(*first, "Eins")->SetSelected(1);
    ASSERT_TRUE(vx::CopyObjects(*first, items));
    ASSERT_TRUE(bridge.Publish());
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_TRUE(wxTheClipboard->IsSupported(vx::ClipboardBridge::ItemsFormat()));
    wxTheClipboard->Close();
    EXPECT_FALSE(bridge.LastToken().empty());

    // Paste in the same window, and after New: our own items, from the internal list.
    ASSERT_TRUE(bridge.Paste(*first, undo));
    EXPECT_EQ(Texts(*first), (std::vector<std::string>{"Eins", "Eins"}));
    auto second = FreeLayout();
    ASSERT_TRUE(bridge.Paste(*second, undo));
    EXPECT_EQ(Texts(*second), std::vector<std::string>{"Eins"});

    // Another instance's items replace the internal list, once.
    {
        vx::CLayoutObj* list = nullptr;
        vx::CTextObj* foreign = vx::CreateTextObject(nullptr, &list);
        foreign->SetText("Fremd");
        foreign->SetSize(400, 100);
        const std::string payload = vx::ClipboardBridge::Payload("999999 7", *vx::WriteClipboardItems(list));
        while (vx::RemoveObjectAt(&list, 0)) {
        }
        ASSERT_TRUE(wxTheClipboard->Open());
        auto* data = new wxCustomDataObject(vx::ClipboardBridge::ItemsFormat());
        data->SetData(payload.size(), payload.data());
        wxTheClipboard->SetData(data);
        wxTheClipboard->Close();
    }
    auto third = FreeLayout();
    ASSERT_TRUE(bridge.Paste(*third, undo));
    ASSERT_TRUE(bridge.Paste(*third, undo));
    EXPECT_EQ(Texts(*third), (std::vector<std::string>{"Fremd", "Fremd"}));
    ASSERT_NE(items.Current(), nullptr);
    EXPECT_EQ(items.Current()->NextItem(), nullptr);
    ASSERT_NE(items.Previous(), nullptr);  // the rotation of a Copy

    // Another instance's image whose file is gone: left out, told once after the paste.
    {
        vx::CLayoutObj* list = nullptr;
        vx::CTextObj* text = vx::CreateTextObject(nullptr, &list);
        text->SetText("Mit Bild");
        text->SetSize(400, 100);
        auto image = std::make_unique<vx::CImageObj>(true, "StdImage");
        vx::InitImageObjDefaults(*image);
        image->SetFilePath("/nonexistent/vellicorex/gone.jpg");
        image->SetSize(300, 200);
        ASSERT_TRUE(vx::AppendObject(&list, image));
        const std::optional<std::string> xml = vx::WriteClipboardItems(list);
        ASSERT_TRUE(xml.has_value());
        const std::string payload = vx::ClipboardBridge::Payload("999999 8", *xml);
        while (vx::RemoveObjectAt(&list, 0)) {
        }
        ASSERT_TRUE(wxTheClipboard->Open());
        auto* data = new wxCustomDataObject(vx::ClipboardBridge::ItemsFormat());
        data->SetData(payload.size(), payload.data());
        wxTheClipboard->SetData(data);
        wxTheClipboard->Close();
        auto layout = FreeLayout();
        ASSERT_TRUE(bridge.Paste(*layout, undo));
        EXPECT_EQ(Texts(*layout), std::vector<std::string>{"Mit Bild"});
        EXPECT_EQ(vx::CountObjects(layout->ItemListHead()), 1);
        EXPECT_EQ(messages.Ids(), std::vector<int>{vx::IDS_FILE_NOT_READABLE});
        messages.shown.clear();
        ASSERT_TRUE(bridge.Paste(*layout, undo));  // taken once: no second message
        EXPECT_TRUE(messages.shown.empty());
    }

    // Text from another program leaves Paste working from the internal list.
    SetText("Hallo von woanders");
    auto fourth = FreeLayout();
    EXPECT_TRUE(bridge.CanPaste());
    ASSERT_TRUE(bridge.Paste(*fourth, undo));
    EXPECT_EQ(Texts(*fourth), std::vector<std::string>{"Mit Bild"});
    EXPECT_TRUE(messages.shown.empty());

    // The update rule: an empty internal list asks the cached answer only.
    vx::ItemClipboard empty;
    vx::ClipboardBridge other(empty);
    EXPECT_FALSE(AskAvailability(other));
    ASSERT_TRUE(bridge.Publish());
    EXPECT_TRUE(AskAvailability(other));
    SetText("noch einmal");
    EXPECT_FALSE(AskAvailability(other));

    wxTheClipboard->Clear();
    wxTheApp->OnExit();
    wxEntryCleanup();
}
