#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Automatic layout of the image items (other kinds keep their places): flows the
/// images from `from` on into rows by `mAlign`, `mSpace` and the layout area, moving a
/// row that does not fit below to the top of the next page; the rows before `from` are
/// only replayed to find where the flow resumes. With justifyLastPage and justify
/// alignment the first row of the last page is spread as well. Then each page's rows
/// are aligned by `mVerticalAlign`. Does nothing without a paper height, or when from
/// is not an image item of layout.
void FlowImageRows(CLayoutSetting& layout, const CLayoutObj& from, bool justifyLastPage);

}  // namespace vx
