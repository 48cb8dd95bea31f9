#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Lays the layout out again after an edit. Automatic layout: the image items flow into
/// rows across the pages, the pages are counted, every item is kept on its page, the
/// views are refreshed; 0 when more than `mPageMax` pages (at least 1) would be needed:
/// `mPageNumber` is then `mPageMax`, the items stay as far as they flowed and nothing
/// is refreshed (the caller puts its snapshot back). Free layout: only keeps every item
/// on its page and refreshes; 1. Without a paper height nothing flows and the layout
/// has one page.
int Relayout(CLayoutSetting& layout);
/// Relayout of a document's layout.
int RelayoutDocument(CLayoutSetting& layout);
/// Relayout of the layout that owns item; 1 with nothing done for an item without one.
int RelayoutItemOwner(CLayoutObj& item);

/// Counts the pages down to the lowest item (an item reaching onto the next page counts
/// by its origin) into `mPageNumber`; a banner has one page. 0, with `mPageNumber` set
/// to `mPageMax` (at least 1), when more are needed. Free layout: 1, nothing changes.
int RecountPages(CLayoutSetting& layout);

/// Brings every item back onto its page: an origin outside the page's margin rectangle
/// moves onto its edge, and an item with less than 142 units inside moves 142 units
/// inwards, across and down. Each item is then refreshed in the view and its
/// `mChanged` cleared. Nothing happens while the layout area is 141 units or less in
/// either direction, or without a paper height.
void KeepItemsOnPages(CLayoutSetting& layout);

/// The refresh that closes a relayout: keeps the view's page within the page count,
/// tells the print-settings pane, shows "ready" and, while a header or footer is shown,
/// rebuilds their texts and redraws the view.
void UpdateLayoutAndRedraw(CLayoutSetting& layout);

}  // namespace vx
