#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Clears `mLastModified` on every selected image item of layout and sets it on item.
void SetLastModifiedImage(CLayoutSetting& layout, CLayoutObj& item);

/// The first selected image item in list order that carries `mLastModified`; null
/// when none does.
CLayoutObj* GetLastModifiedImage(const CLayoutSetting& layout);

}  // namespace vx
