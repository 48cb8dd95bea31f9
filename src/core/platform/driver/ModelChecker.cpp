#include "platform/driver/ModelChecker.h"

#include <algorithm>
#include <set>
#include <string>

namespace vx {
namespace {

constexpr int32_t kUserDefinedPaper = 256;
constexpr int32_t kMinSide = 100, kMaxSide = 150000;  // 10 mm .. 15 m in 0.1 mm
constexpr int32_t kMaxSide16 = 32767;                  // item 30 carries 16-bit lengths
constexpr int32_t kKnownRollOptions = 0x1 | 0x4 | 0x8;

DescriptorProblem Problem(DescriptorFault f, int line, std::string detail) {
    return {f, line, std::move(detail)};
}

bool ValidId(int32_t id) { return id >= 1 && id <= 65535; }

// The first id out of range or repeated in one list.
DescriptorProblem CheckIds(const std::vector<int32_t>& ids, int line) {
    std::set<int32_t> seen;
    for (int32_t id : ids) {
        if (!ValidId(id)) return Problem(DescriptorFault::IdOutOfRange, line, std::to_string(id));
        if (!seen.insert(id).second) return Problem(DescriptorFault::RepeatedId, line, std::to_string(id));
    }
    return {};
}

template <class T>
DescriptorProblem CheckIdList(const std::vector<T>& list) {
    std::set<int32_t> seen;
    for (const T& e : list) {
        if (!ValidId(e.id)) return Problem(DescriptorFault::IdOutOfRange, e.line, std::to_string(e.id));
        if (!seen.insert(e.id).second) return Problem(DescriptorFault::RepeatedId, e.line, std::to_string(e.id));
        if (e.name.empty()) return Problem(DescriptorFault::MissingName, e.line, std::to_string(e.id));
    }
    return {};
}

DescriptorProblem CheckModelFields(const PrinterModel& m) {
    if (m.name.empty() || m.name.size() > 31 || m.name.rfind("TEVRA ", 0) != 0)
        return Problem(DescriptorFault::BadName, 0, m.name);
    if (m.family < 0 || m.family > 65535) return Problem(DescriptorFault::BadFamily, 0, std::to_string(m.family));
    if (m.modelClass < 1 || m.modelClass > 3) return Problem(DescriptorFault::BadClass, 0, std::to_string(m.modelClass));
    if (m.resolution < 72 || m.resolution > 2880)
        return Problem(DescriptorFault::BadResolution, 0, std::to_string(m.resolution));
    const auto& common = PrinterModel::CommonItems();
    const auto& optional = PrinterModel::OptionalItems();
    for (size_t i = common.size(); i < m.items.size(); ++i)
        if (std::find(optional.begin(), optional.end(), m.items[i]) == optional.end())
            return Problem(DescriptorFault::UnknownItem, 0, std::to_string(m.items[i]));
    if (DescriptorProblem p = CheckIds(m.items, 0); !p.ok()) return p;
    if (m.papers.empty() || m.sources.empty() || m.media.empty() || m.inks.empty())
        return Problem(DescriptorFault::NothingDescribed, 0, "");
    if (DescriptorProblem p = CheckIds(m.inks, 0); !p.ok()) return p;
    if (m.layoutFlags & ~(kFlagCentred | kFlagMaximumArea))
        return Problem(DescriptorFault::BadValue, 0, "layout-flags");
    const int32_t maxSide = m.HasItem(DriverItem::Paper) ? kMaxSide : kMaxSide16;
    if (m.largestWidth < kMinSide || m.largestLength < kMinSide || m.largestWidth > maxSide ||
        m.largestLength > maxSide)
        return Problem(DescriptorFault::BadLargestPaper, 0, "");
    return {};
}

DescriptorProblem CheckPapers(const PrinterModel& m) {
    if (DescriptorProblem p = CheckIdList(m.papers); !p.ok()) return p;
    const bool has203 = m.HasItem(DriverItem::Paper);
    for (const ModelPaper& p : m.papers) {
        if (p.id == kUserDefinedPaper) return Problem(DescriptorFault::UserDefinedPaper, p.line, "256");
        auto outside = [](int32_t side) { return side < kMinSide || side > kMaxSide; };
        if (outside(p.width) || outside(p.height))
            return Problem(DescriptorFault::PaperSideOutOfRange, p.line, p.name);
        if (!has203 && (p.width > kMaxSide16 || p.height > kMaxSide16))
            return Problem(DescriptorFault::PaperTooLargeForItem30, p.line, p.name);
    }
    return {};
}

DescriptorProblem CheckMedia(const PrinterModel& m) {
    if (DescriptorProblem p = CheckIdList(m.media); !p.ok()) return p;
    for (const ModelMedium& md : m.media) {
        if (md.profile.empty()) return Problem(DescriptorFault::MediumWithoutProfile, md.line, md.name);
        // A medium that takes no ink can never be the printer's state: a source whose first
        // medium it is could not be opened or chosen.
        if (md.inks.empty()) return Problem(DescriptorFault::MediumWithoutInk, md.line, md.name);
        std::set<int32_t> seen;
        for (const InkOnMedium& ink : md.inks) {
            if (!m.HasInk(ink.ink)) return Problem(DescriptorFault::UnknownInk, md.line, std::to_string(ink.ink));
            if (!seen.insert(ink.ink).second)
                return Problem(DescriptorFault::RepeatedId, md.line, std::to_string(ink.ink));
            if (ink.modes != 1 && ink.modes != 2)
                return Problem(DescriptorFault::BadModeCount, md.line, std::to_string(ink.modes));
        }
    }
    return {};
}

// Centring makes the top and bottom margins the larger of the two.
bool LeavesArea(const ModelPaper& p, const Margins& mg, bool centring) {
    const int64_t vertical = centring ? 2 * int64_t{std::max(mg.top, mg.bottom)} : int64_t{mg.top} + mg.bottom;
    return int64_t{mg.left} + mg.right < p.width && vertical < p.height &&
           mg.left >= 0 && mg.top >= 0 && mg.right >= 0 && mg.bottom >= 0;
}

DescriptorProblem CheckSource(const PrinterModel& m, const ModelSource& s) {
    if (IsRollSourceId(s.id) != s.roll) return Problem(DescriptorFault::RollSourceId, s.line, s.name);
    if (IsBorderlessSourceId(s.id) != s.borderless)
        return Problem(DescriptorFault::BorderlessSourceId, s.line, s.name);
    const bool zero = s.standard.IsZero() && s.maximum.IsZero();
    const bool anyZero = s.standard.IsZero() || s.maximum.IsZero();
    if (s.borderless ? !zero : anyZero) return Problem(DescriptorFault::BorderlessMargins, s.line, s.name);
    if (s.overspray < 0 || s.overspray > kMaxSide || (!s.borderless && s.overspray != 0))
        return Problem(DescriptorFault::BorderlessMargins, s.line, s.name);
    if ((s.rollOptions & ~kKnownRollOptions) || s.rollOptions < 0 || (!s.roll && s.rollOptions))
        return Problem(DescriptorFault::RollOptionsNotOnRoll, s.line, s.name);
    if (s.papers.empty()) return Problem(DescriptorFault::SourceWithoutPapers, s.line, s.name);
    if (s.media.empty()) return Problem(DescriptorFault::SourceWithoutMedia, s.line, s.name);
    if (DescriptorProblem p = CheckIds(s.papers, s.line); !p.ok()) return p;
    if (DescriptorProblem p = CheckIds(s.media, s.line); !p.ok()) return p;
    for (int32_t id : s.papers) {
        const ModelPaper* p = m.Paper(id);
        if (!p) return Problem(DescriptorFault::UnknownPaper, s.line, std::to_string(id));
        const bool centring = (m.layoutFlags & kFlagCentred) || m.HasItem(DriverItem::Centring);
        if (!LeavesArea(*p, s.standard, centring) || !LeavesArea(*p, s.maximum, centring))
            return Problem(DescriptorFault::NoPrintableArea, s.line, p->name);
    }
    for (int32_t id : s.media)
        if (!m.Medium(id)) return Problem(DescriptorFault::UnknownMedium, s.line, std::to_string(id));
    return {};
}

}  // namespace

bool IsBorderlessSourceId(int32_t id) {
    static const std::set<int32_t> ids{257, 258, 259, 262, 263, 264, 268, 270, 272, 274, 531};
    return ids.count(id) != 0;
}

bool IsRollSourceId(int32_t id) { return id == 256 || id == 257; }

DescriptorProblem CheckModel(const PrinterModel& m) {
    if (DescriptorProblem p = CheckModelFields(m); !p.ok()) return p;
    if (DescriptorProblem p = CheckPapers(m); !p.ok()) return p;
    if (DescriptorProblem p = CheckMedia(m); !p.ok()) return p;
    if (DescriptorProblem p = CheckIdList(m.sources); !p.ok()) return p;
    for (const ModelSource& s : m.sources)
        if (DescriptorProblem p = CheckSource(m, s); !p.ok()) return p;
    return {};
}

}  // namespace vx
