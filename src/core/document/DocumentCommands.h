#pragma once
#include <filesystem>
#include <string_view>

#include "view/LayoutViewCommands.h"

namespace vx {

class CGPDoc;

/// Command ids the document forwards to the layout view (edit, page, selection and
/// navigation commands, and the three zoom commands).
enum ForwardedCommand : int {
    kCmdZoomIn = 33300,
    kCmdZoomOut = 33301,
    kCmdZoomToFit = 33302,
};
bool IsForwardedCommand(int commandId);
/// Runs the command in the active layout view; nothing without one. A zoom command
/// then shows the layout's zoom ratio in the zoom box.
void ForwardCommand(int commandId);
/// The command's state from the active layout view; disabled without a view or a
/// handler. The zoom commands are enabled whenever a layout is open.
CommandState ForwardedCommandState(int commandId, bool hasLayout);

/// Copies source to target (refused when failIfExists and target exists) through an
/// atomic replace, then gives the copy its owner's write permission when it lacks it.
/// False when anything failed; a failed copy leaves an old target as it was.
bool CopyFileWritable(const std::filesystem::path& source, const std::filesystem::path& target, bool failIfExists);

/// What an open by path (the file dialog, the recent-file list, the command line) asks
/// for: the text between an opening double quote and the next one (a trailing argument
/// dropped), made absolute against the working folder.
std::filesystem::path PathOfOpenRequest(std::string_view request);

/// The open document whose layout was loaded from the file at path (both compared in
/// canonical form), or null.
CGPDoc* FindOpenDocument(const std::filesystem::path& path);

}  // namespace vx
