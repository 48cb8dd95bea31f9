#include "printing/DriverItemAccess.h"

#include <algorithm>

#include "printing/CDriverModule.h"

namespace vx {
namespace {

constexpr int kFailed = -1;
constexpr int32_t kRollOptionOrder[] = {0x4, 0x1, 0x8};
constexpr int32_t kFirstRollSource = 256, kSecondRollSource = 257;

// 0.1 mm to 1/360 inch, truncated towards zero.
int32_t TenthsToUnits(int64_t tenths) { return ClampToInt32(tenths * 360 / 254); }

// The current value of a record item (PaperRecord, PrintModeRecord, SpecialModeRecord).
template <class Record>
int ReadRecord(CDriverModule& module, DriverItem item, Record& record) {
    DriverValue v;
    if (int r = module.GetData(item, v); r != 0) return r;
    std::optional<Record> read = Record::From(v.words);
    if (!read) return kFailed;
    record = *read;
    return 0;
}

}  // namespace

int DriverItemAccess::GetValue(DriverItem item, int32_t& value) {
    DriverValue v;
    if (int r = mModule.GetData(item, v); r != 0) return r;
    if (v.words.empty()) return kFailed;
    value = v.words[0];
    return 0;
}

std::optional<int32_t> DriverItemAccess::RangeWord(DriverItem item, size_t index, const DriverWords& query) {
    DriverValue v;
    if (mModule.GetRange(item, query, v) != 0 || v.words.size() <= index) return std::nullopt;
    return v.words[index];
}

DriverItem DriverItemAccess::PaperItem() {
    return mModule.GetCommandLevel(DriverItem::Paper) != -1 ? DriverItem::Paper : DriverItem::PaperOld;
}

int DriverItemAccess::GetPaper(PaperRecord& paper) { return ReadRecord(mModule, PaperItem(), paper); }

int DriverItemAccess::SetPaperSize(int32_t id) {
    const DriverItem item = PaperItem();
    PaperRecord paper;
    if (int r = ReadRecord(mModule, item, paper); r != 0) return r;
    return Id16(paper.id) == Id16(id) ? 0 : mModule.SetData(item, {Id16(id)});
}

int DriverItemAccess::SetValueIfDiffers(DriverItem item, int32_t value) {
    int32_t current = 0;
    if (int r = GetValue(item, current); r != 0) return r;
    return current == value ? 0 : mModule.SetData(item, {value});
}

int DriverItemAccess::SetPaperSource(int32_t id) { return SetValueIfDiffers(DriverItem::Source, Id16(id)); }
int DriverItemAccess::SetOrientation(int32_t orientation) {
    return SetValueIfDiffers(DriverItem::Orientation, orientation);
}
int DriverItemAccess::SetHighSpeed(int32_t value) { return SetValueIfDiffers(DriverItem::HighSpeed, value); }

int DriverItemAccess::GetPrintMode(PrintModeRecord& mode) {
    return ReadRecord(mModule, DriverItem::PrintMode, mode);
}

int DriverItemAccess::SetPrintMode(const PrintModeRecord& mode) {
    return mModule.SetData(DriverItem::PrintMode, mode.Words());
}

int DriverItemAccess::SetMediaType(int32_t media) {
    PrintModeRecord m;
    if (int r = GetPrintMode(m); r != 0) return r;
    if (m.modeWord == 1 && Id16(m.medium) == Id16(media)) return 0;
    return SetPrintMode({1, 1, Id16(media), kInkColour});
}

int DriverItemAccess::SetQuality(int32_t quality) {
    PrintModeRecord m;
    if (int r = GetPrintMode(m); r != 0) return r;
    if (m.modeWord == 1 && m.quality == quality) return 0;
    m.modeWord = 1;
    m.quality = quality;
    return SetPrintMode(m);
}

int DriverItemAccess::SetInk(int32_t ink) {
    PrintModeRecord m;
    if (int r = GetPrintMode(m); r != 0) return r;
    m.ink = ink;
    if (SetPrintMode(m) != 0) return kFailed;
    if (int r = GetPrintMode(m); r != 0) return r;
    return m.ink == ink ? 0 : kFailed;
}

int DriverItemAccess::SetLayoutFlags(int32_t flags) {
    constexpr int32_t kBits = kFlagCentred | kFlagMaximumArea;
    int32_t current = 0;
    if (int r = GetValue(DriverItem::LayoutFlags, current); r != 0) return r;
    if ((current & kBits) == (flags & kBits)) return 0;
    const int r = mModule.SetData(DriverItem::LayoutFlags, {(current & ~kBits) | (flags & kBits)});
    if (r == 0 || mModule.GetCommandLevel(DriverItem::Centring) == -1) return r;
    return mModule.SetData(DriverItem::Centring, {flags & kFlagCentred});
}

int DriverItemAccess::GetSpecialMode(SpecialModeRecord& mode) {
    return ReadRecord(mModule, DriverItem::SpecialMode, mode);
}

int DriverItemAccess::SetSpecialMode(const SpecialModeRecord& mode) {
    SpecialModeRecord current;
    if (int r = GetSpecialMode(current); r != 0) return r;
    return current == mode ? 0 : mModule.SetData(DriverItem::SpecialMode, mode.Words());
}

int DriverItemAccess::EnableRollOptions(int32_t source) {
    source = Id16(source);
    if (source != kFirstRollSource && source != kSecondRollSource) return 1;
    int32_t current = 0;
    if (GetValue(DriverItem::Source, current) != 0) return 0;
    if (Id16(current) != source) return 1;
    for (int32_t bit : kRollOptionOrder) {
        std::optional<int32_t> offered = RangeWord(DriverItem::RollOptions);
        int32_t flags = 0;
        if (!offered || GetValue(DriverItem::RollOptions, flags) != 0) return 0;
        if (!(*offered & bit) || (flags & bit)) continue;
        if (mModule.SetData(DriverItem::RollOptions, {flags | bit}) != 0) return 0;
    }
    return 1;
}

bool DriverItemAccess::IsGreyvanceAvailable(int32_t media) {
    DriverValue inks;
    if (mModule.GetRange(DriverItem::Inks, inks) != 0) return false;
    if (std::find(inks.words.begin(), inks.words.end(), kInkMonoPhoto) == inks.words.end()) return false;
    std::optional<int32_t> allowed = RangeWord(DriverItem::InkOnMedium, 0, {Id16(media), kInkMonoPhoto});
    return allowed && *allowed != 0;
}

bool DriverItemAccess::IsSpecialModeAvailable(int32_t colour, int32_t media) {
    DriverValue v;
    if (mModule.GetRange(DriverItem::SpecialMode, {colour, kUltrafine}, v) != 0) return false;
    return std::any_of(v.words.begin(), v.words.end(), [&](int32_t id) { return Id16(id) == Id16(media); });
}

int DriverItemAccess::GetPrintableArea(LayoutRect& margins) {
    PaperRecord p;
    if (GetPaper(p) != 0) return 0;
    margins = LayoutRect{TenthsToUnits(p.left), TenthsToUnits(p.top),
                         TenthsToUnits(int64_t{p.width} - p.printableWidth - p.left),
                         TenthsToUnits(int64_t{p.height} - p.printableHeight - p.top)};
    return 1;
}

std::optional<std::string> DriverItemAccess::ModelName() {
    DriverInfoRecord info{};
    if (mModule.GetDriverInfo(&info) < 1) return std::nullopt;
    return std::string(info.model);
}

}  // namespace vx
