#pragma once
#include <cstdint>
#include <initializer_list>

#include "dialogs/DialogView.h"

class wxChoice;
class wxColour;
class wxStaticBitmap;
class wxWindow;

/// Shows a controller's page view on the controls of page, found by id: enabled
/// state, checks, edit texts and ranges, list selections and link icons. Texts go in
/// with ChangeValue, so no handler runs; a text the edit already holds is left, so
/// the caret stays where the user types. Statics keep their captions unless their id
/// is in textStatics.
void ApplyPageView(wxWindow* page, const vx::dialogs::PageView& view, std::initializer_list<int> textStatics = {});

/// The unit list ("mm", "Zoll") whose drop-down widens to its texts when opened.
wxChoice* UnitChoice(wxWindow* parent, int id);

/// Icon 297 (linked) or 299 (not linked) on a picture static.
void SetLinkIcon(wxStaticBitmap* picture, bool linked);

