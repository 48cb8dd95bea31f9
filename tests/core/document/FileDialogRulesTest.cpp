#include <gtest/gtest.h>

#include "document/FileDialogRules.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

TEST(FileDialogRules, LayoutFileNames) {
    const struct Case {
        const char* path;
        bool accepted;
    } cases[] = {
        {"/home/u/Plan.kqf", true},   {"/home/u/Urlaub 2026", true}, {"/home/u/   .kqf", false},
        {"/home/u/   ", false},       {"/home/u/a;b.kqf", false},     {"/home/u/50%.kqf", false},
        {"/home/u/.kqf", false},      {"/home/u/", false},            {"/home/u/a\"b", false},
        {"/home/u/a*b.kqf", false},   {"/home/u/a,b.kqf", false},     {"/home/u/Übersicht.kqf", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAcceptableLayoutFileName(c.path), c.accepted) << c.path;
}

TEST(FileDialogRules, FiltersBecomeCaseInsensitiveGtkFilters) {
    const struct Case {
        std::string table;
        std::string dialog;
    } cases[] = {
        {LoadString(IDS_LAYOUT_FILTER), "Layout Files(*.kqf)|*.[kK][qQ][fF]"},
        {LoadString(IDS_IMAGE_FILTER),
         "Alle Bilder|*.[eE][pP][sS];*.[tT][iI][fF][fF];*.[tT][iI][fF];*.[jJ][pP][gG];*.[jJ][pP][eE][gG];"
         "*.[bB][mM][pP];*.[eE][fF][fF]"},
        {LoadString(IDS_IMAGE_FILTER_ALL).substr(0, 18) + "*.PNG||\n", "Alle Bilder|*.[eE][pP][sS];*.[pP][nN][gG]"},
        {"A|*.kqt|B|*.*||", "A|*.[kK][qQ][tT]|B|*.*"},
    };
    for (const Case& c : cases) EXPECT_EQ(ToDialogFilter(c.table), c.dialog) << c.table;
}

}  // namespace
}  // namespace vx
