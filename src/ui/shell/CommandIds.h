#pragma once

namespace vx {

/// Command ids of the shell's menus and toolbar, as the menu table has them.
enum ShellCommand : int {
    kCmdLoadImage = 32800,
    kCmdPreferences = 32802,
    kCmdOrganiseTemplates = 32806,
    kCmdHeaderFooter = 32919,
    kCmdInsertFreeText = 33003,
    kCmdEditFreeText = 33004,
    kCmdInsertFreeLine = 33005,
    kCmdEditFreeLine = 33006,
    kCmdManual = 33500,
    kCmdAutoRotate = 33614,
    kCmdNew = 57600,
    kCmdOpen = 57601,
    kCmdClose = 57602,
    kCmdSave = 57603,
    kCmdSaveAs = 57604,
    kCmdPrint = 57607,
    kCmdPrintDirect = 57608,
    kCmdOpenLast = 57616,  // the first recent file
    kCmdAbout = 57664,
    kCmdExit = 57665,
};

/// The toolkit takes menu ids below 0x7FFF only: our command ids (32768 and up) are
/// shifted down by this much in menus and toolbars, and back in the handlers.
inline constexpr int kWxCommandShift = 25000;
inline constexpr int kFirstCommandId = 32768;
inline constexpr int kLastCommandId = 57767;
/// The menu or tool id of a command.
constexpr int ToWxId(int command) { return command >= kFirstCommandId ? command - kWxCommandShift : command; }
/// The command of a menu or tool id.
constexpr int FromWxId(int id) {
    return id >= kFirstCommandId - kWxCommandShift && id <= kLastCommandId - kWxCommandShift ? id + kWxCommandShift : id;
}

/// Context menus of the layout window by kind (1 to 5).
enum ContextMenuKind : int {
    kMenuNoLayout = 1,
    kMenuPage = 2,
    kMenuImage = 3,
    kMenuFreeLine = 4,
    kMenuFreeText = 5,
};
inline int ContextMenuId(int kind) {
    switch (kind) {
        case kMenuNoLayout: return 201;
        case kMenuPage: return 202;
        case kMenuImage: return 203;
        case kMenuFreeLine: return 205;
        case kMenuFreeText: return 206;
        default: return 0;
    }
}

}  // namespace vx
