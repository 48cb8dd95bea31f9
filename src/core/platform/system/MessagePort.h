#pragma once
#include "platform/system/MessageArgs.h"

namespace vx {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

/// Buttons pressed, with the numbers the program's logic has always compared against.
enum DialogResult : int { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4,
                          kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };

/// Shows a message from the string table (template filled with args) and returns the
/// button pressed. The window side implements it with wx, tests record.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual int Show(int stringId, const Args& args, Icon icon, Buttons buttons) = 0;
};

}  // namespace vx
