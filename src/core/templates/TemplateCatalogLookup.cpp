#include "templates/TemplateCatalogLookup.h"

#include "templates/TemplatePropertyRows.h"

namespace vx {

const TemplateInfo* TemplateAtIndex(const CTemplateInfoArray& array, int index) {
    if (index < 0 || index >= array.GetSize()) return nullptr;
    return &array.ElementAt(index);
}

int FindTemplateByFileName(const CTemplateInfoArray& array, std::string_view fileName) {
    for (int i = 0; i < array.GetSize(); ++i)
        if (TemplateFileNamePart(array.ElementAt(i).Path) == fileName) return i;
    return -1;
}

int FindTemplateByPath(const CTemplateInfoArray& array, std::string_view path) {
    for (int i = 0; i < array.GetSize(); ++i)
        if (array.ElementAt(i).Path == path) return i;
    return -1;
}

}  // namespace vx
