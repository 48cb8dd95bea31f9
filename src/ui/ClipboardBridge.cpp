#include "ui/ClipboardBridge.h"

#include <unistd.h>

#include <string_view>

#include "document/ClipboardItemsXml.h"
#include "model/ClipboardCommands.h"
#include "model/ItemClipboard.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr std::string_view kTokenPrefix = "VellicorEX-Token ";

// The token line's token, and the rest; empty token when the line is not ours.
std::pair<std::string, std::string_view> SplitPayload(std::string_view payload) {
    const size_t end = payload.find('\n');
    if (end == std::string_view::npos || payload.substr(0, kTokenPrefix.size()) != kTokenPrefix) return {};
    return {std::string(payload.substr(kTokenPrefix.size(), end - kTokenPrefix.size())), payload.substr(end + 1)};
}

// Opens the system clipboard for a scope; another holder may keep it shut.
class OpenClipboard {
public:
    OpenClipboard() : mOpen(wxTheClipboard->Open()) {}
    ~OpenClipboard() {
        if (mOpen) wxTheClipboard->Close();
    }
    explicit operator bool() const { return mOpen; }

private:
    bool mOpen;
};

}  // namespace

ClipboardBridge::ClipboardBridge(ItemClipboard& items) : mItems(items) {
    Bind(wxEVT_CLIPBOARD_CHANGED, &ClipboardBridge::OnClipboardChanged, this);
}

ClipboardBridge::~ClipboardBridge() = default;

const wxDataFormat& ClipboardBridge::ItemsFormat() {
    static const wxDataFormat format("application/x-vellicorex-items");
    return format;
}

std::string ClipboardBridge::Payload(const std::string& token, const std::string& xml) {
    std::string out(kTokenPrefix);
    out += token;
    out += '\n';
    out += xml;
    return out;
}

bool ClipboardBridge::Publish() {
    const std::optional<std::string> xml = WriteClipboardItems(mItems.Current());
    if (!xml) return false;
    const std::string token = std::to_string(long(getpid())) + " " + std::to_string(++mSerial);
    const std::string payload = Payload(token, *xml);
    OpenClipboard open;
    if (!open) return false;
    auto* data = new wxCustomDataObject(ItemsFormat());
    data->SetData(payload.size(), payload.data());
    if (!wxTheClipboard->SetData(data)) return false;  // SetData owns data either way
    mLastToken = token;
    mSystemHasItems = true;
    return true;
}

ClipboardBridge::Taken ClipboardBridge::TakeForeignItems(int& unreadableImages) {
    std::string payload;
    {
        OpenClipboard open;
        if (!open || !wxTheClipboard->IsSupported(ItemsFormat())) return Taken::Nothing;
        wxCustomDataObject data(ItemsFormat());
        if (!wxTheClipboard->GetData(data)) return Taken::Nothing;
        payload.assign(static_cast<const char*>(data.GetData()), data.GetSize());
    }
    auto [token, xml] = SplitPayload(payload);
    if (token.empty()) return Taken::Unreadable;
    if (token == mLastToken || token == mTakenToken) return Taken::Nothing;
    ClipboardItems read = ReadClipboardItems(xml);
    if (read.status != ClipboardReadStatus::Read) return Taken::Unreadable;
    unreadableImages = read.unreadableImages;
    mItems.ReplaceCurrent(std::move(read.items));
    mTakenToken = token;
    return Taken::Items;
}

bool ClipboardBridge::Paste(CLayoutSetting& layout, UndoStore& undo) {
    int unreadableImages = 0;
    if (TakeForeignItems(unreadableImages) == Taken::Unreadable) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    const bool pasted = PasteObjects(layout, undo, mItems);
    if (unreadableImages > 0) Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
    return pasted;
}

bool ClipboardBridge::CanPaste() const { return !mItems.IsEmpty() || mSystemHasItems; }

void ClipboardBridge::RequestAvailability() { wxTheClipboard->IsSupportedAsync(this); }

void ClipboardBridge::OnClipboardChanged(wxClipboardEvent& event) {
    mSystemHasItems = event.SupportsFormat(ItemsFormat());
}

}  // namespace vx
