#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vx {

/// The decoded preview picture of a template (a JPEG stream). Immutable once read, so
/// that every copy of a summary can share it; the last holder frees it.
using TemplatePreviewBytes = std::shared_ptr<const std::vector<uint8_t>>;

/// The summary of a template or layout file, as the template dialogs list, filter and
/// show it. Texts are UTF-8; the "Pass" flags are filter results of the chooser (1 passes).
struct TemplateInfo {
    std::string Path;          // full path of the file
    std::string ModifiedText;  // last modification, local time, "%y.%m.%d %H:%M"
    std::string SizeText;      // file size in bytes
    std::string Comment;       // the comment in the user's language
    std::string PrinterModel;
    int32_t PrinterPass = 0;
    std::string PaperSize;
    int32_t PaperSizePass = 0;
    std::string PaperSource;
    int32_t PaperSourcePass = 0;
    std::string PaperLengthText;  // banner length with its unit, else "-"
    std::string MediaType;
    std::string PaperOrient;
    std::string Color;
    std::string LayoutModeText;
    std::string ImageSizeText;
    std::string AutoRotation;
    int32_t IsBanner = 0;
    int32_t IsAbsoluteSize = 0;
    std::string ImageOption;
    std::string Category;  // user categories separated by ':', or a built-in category key
    int32_t IsUserTemplate = 0;
    std::string ImageMask;
    int32_t CategoryPass = 0;
    int32_t Visible = 0;  // listed by the chooser: all four pass flags are 1
    int32_t PreviewLength = 0;
    TemplatePreviewBytes PreviewBytes;  // null when the file has no preview

    /// Empties every text and zeroes every integer; the preview stays.
    void Clear();
};

/// An ordered, growable array of summaries held by value, indexed from 0.
class CTemplateInfoArray {
public:
    int GetSize() const { return static_cast<int>(mItems.size()); }
    bool IsEmpty() const { return mItems.empty(); }
    /// A copy of element index; an index out of range is a bug and throws.
    TemplateInfo GetAt(int index) const;
    void SetAt(int index, const TemplateInfo& info);
    TemplateInfo& ElementAt(int index);
    const TemplateInfo& ElementAt(int index) const;
    /// Appends a copy and returns its index.
    int Add(const TemplateInfo& info);
    int Add(TemplateInfo&& info);
    /// Resizes; new elements are empty records, 0 empties the array.
    void SetSize(int count);
    void RemoveAt(int index);
    void RemoveAll() { mItems.clear(); }
    void FreeExtra() { mItems.shrink_to_fit(); }

    std::vector<TemplateInfo>::iterator begin() { return mItems.begin(); }
    std::vector<TemplateInfo>::iterator end() { return mItems.end(); }
    std::vector<TemplateInfo>::const_iterator begin() const { return mItems.begin(); }
    std::vector<TemplateInfo>::const_iterator end() const { return mItems.end(); }

private:
    size_t Checked(int index) const;

    std::vector<TemplateInfo> mItems;
};

/// Every template found by the folder scan at start-up, kept current by the template
/// commands. User-interface thread only.
CTemplateInfoArray& TemplateCatalog();

/// At most one record: the summary of the current layout, at index 0.
CTemplateInfoArray& CurrentTemplateInfo();

/// Makes info the only record of CurrentTemplateInfo.
void SetCurrentTemplateInfo(const TemplateInfo& info);

}  // namespace vx
