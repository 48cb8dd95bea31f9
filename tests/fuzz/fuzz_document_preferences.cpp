// The preferences file is text a user may edit: read any bytes into the record and the
// default layout, and write the result again; the rewrite must read back to itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/PreferencesFile.h"
#include "host/ApplicationState.h"
#include "model/CLayoutSetting.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::PreferencesHooks hooks;
    hooks.isSupportedPrinter = [](std::string_view name) { return name.size() % 2 == 0; };
    hooks.showToolWindows = [](const vx::AppPreferences&) {};
    hooks.paperCaps = [](int32_t&, int32_t&, int32_t, int32_t, vx::LayoutPoint) { return 9; };

    vx::AppPreferences first;
    vx::CLayoutSetting layout(true);
    first.defaultLayout = &layout;
    vx::ParsePreferences(std::string_view(reinterpret_cast<const char*>(data), size), first, &layout, hooks);
    const std::string text = vx::FormatPreferences(first, layout);

    vx::AppPreferences second;
    vx::CLayoutSetting again(true);
    second.defaultLayout = &again;
    vx::ParsePreferences(text, second, &again, hooks);
    if (vx::FormatPreferences(second, again) != text) __builtin_trap();
    return 0;
}
