#pragma once
#include <cstdint>
#include <string>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/event.h>

namespace vx {

class CLayoutSetting;
class ItemClipboard;
class UndoStore;

/// Connects the program's own item clipboard to the system clipboard, so that items
/// copied in one instance paste in another. After Copy and Cut the current list goes on
/// the system clipboard in the private format "application/x-vellicorex-items", marked
/// with a token (process id and serial). Paste takes the system clipboard's items only
/// when another instance put them there; otherwise, also after another program took the
/// clipboard, it pastes the internal list.
class ClipboardBridge : public wxEvtHandler {
public:
    explicit ClipboardBridge(ItemClipboard& items);
    ~ClipboardBridge() override;

    static const wxDataFormat& ItemsFormat();

    /// Puts the current list on the system clipboard; false when it cannot be written
    /// or the clipboard cannot be opened (the internal list stays usable).
    bool Publish();
    /// Paste as the view's command runs it: another instance's items first become the
    /// current list (rotated as a Copy rotates it), then PasteObjects. Images whose files
    /// no longer open are left out and "Datei nicht lesbar." shows once afterwards.
    bool Paste(CLayoutSetting& layout, UndoStore& undo);

    /// For the Paste command's update handler: items on the internal list, or the private
    /// format on the system clipboard as last reported. Never asks the clipboard itself.
    bool CanPaste() const;
    /// Asks the system clipboard, without waiting, whether it holds the private format;
    /// the answer arrives later and updates what CanPaste says.
    void RequestAvailability();

    /// The token of the last publication ("pid serial"), empty before the first.
    const std::string& LastToken() const { return mLastToken; }

    /// The clipboard bytes: a token line, then the items' XML.
    static std::string Payload(const std::string& token, const std::string& xml);

private:
    enum class Taken : uint8_t { Nothing, Items, Unreadable };
    Taken TakeForeignItems(int& unreadableImages);
    void OnClipboardChanged(wxClipboardEvent& event);

    ItemClipboard& mItems;
    std::string mLastToken;
    std::string mTakenToken;  // another instance's items already taken
    uint64_t mSerial = 0;
    bool mSystemHasItems = false;
};

}  // namespace vx
