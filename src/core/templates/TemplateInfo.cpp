#include "templates/TemplateInfo.h"

#include <stdexcept>
#include <utility>

namespace vx {

void TemplateInfo::Clear() {
    TemplatePreviewBytes preview = std::move(PreviewBytes);
    const int32_t previewLength = PreviewLength;
    *this = TemplateInfo{};
    PreviewBytes = std::move(preview);
    PreviewLength = previewLength;
}

size_t CTemplateInfoArray::Checked(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= mItems.size())
        throw std::out_of_range("template summary index");
    return static_cast<size_t>(index);
}

TemplateInfo CTemplateInfoArray::GetAt(int index) const { return mItems[Checked(index)]; }

void CTemplateInfoArray::SetAt(int index, const TemplateInfo& info) { mItems[Checked(index)] = info; }

TemplateInfo& CTemplateInfoArray::ElementAt(int index) { return mItems[Checked(index)]; }

const TemplateInfo& CTemplateInfoArray::ElementAt(int index) const { return mItems[Checked(index)]; }

int CTemplateInfoArray::Add(const TemplateInfo& info) {
    mItems.push_back(info);
    return GetSize() - 1;
}

int CTemplateInfoArray::Add(TemplateInfo&& info) {
    mItems.push_back(std::move(info));
    return GetSize() - 1;
}

void CTemplateInfoArray::SetSize(int count) {
    if (count < 0) throw std::out_of_range("template summary count");
    mItems.resize(static_cast<size_t>(count));
}

void CTemplateInfoArray::RemoveAt(int index) { mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(Checked(index))); }

CTemplateInfoArray& TemplateCatalog() {
    static CTemplateInfoArray catalog;
    return catalog;
}

CTemplateInfoArray& CurrentTemplateInfo() {
    static CTemplateInfoArray current;
    return current;
}

void SetCurrentTemplateInfo(const TemplateInfo& info) {
    CTemplateInfoArray& current = CurrentTemplateInfo();
    current.SetSize(0);
    current.Add(info);
}

}  // namespace vx
