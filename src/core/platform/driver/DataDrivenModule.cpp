#include "platform/driver/DataDrivenModule.h"

#include <algorithm>
#include <atomic>

#include "platform/driver/PageGeometry.h"
#include "platform/driver/SettingsRecord.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"

namespace vx {
namespace {

// Handles are unique in the process, so that a handle of one module never names a
// printer of another.
DriverHandle NextHandle() {
    static std::atomic<DriverHandle> next{0};
    DriverHandle h;
    do h = ++next; while (h == 0);
    return h;
}

int32_t MostPrintModes(const PrinterModel& model) {
    int32_t most = 1;
    for (const ModelMedium& m : model.media)
        for (const InkOnMedium& ink : m.inks) most = std::max(most, ink.modes);
    return most;
}

size_t ValueWords(DriverItem item) {
    switch (item) {
    case DriverItem::PrintMode: return 4;
    case DriverItem::SpecialMode: return 3;
    default: return 1;
    }
}

}  // namespace

DataDrivenModule::DataDrivenModule(std::shared_ptr<const PrinterModel> model) : mModel(std::move(model)) {}

DataDrivenModule::OpenPrinter* DataDrivenModule::Find(DriverHandle handle) {
    auto it = mOpen.find(handle);
    return it == mOpen.end() ? nullptr : &it->second;
}

std::filesystem::path DataDrivenModule::ProfilePath(int32_t medium) const {
    const ModelMedium* m = mModel->Medium(medium);
    return m ? DataFolder() / "icc" / m->profile : std::filesystem::path();
}

int DataDrivenModule::Open(std::string_view printer, std::string_view port, int mode,
                           const std::string* settings, DriverHandle& handle) {
    PrinterSettings s;
    if (mode == 0) {
        s = PrinterSettings::Defaults(*mModel);
    } else if (mode == 2 && settings) {
        std::optional<PrinterSettings> read = SettingsRecord::Read(*mModel, *settings);
        if (!read) return kOpenBadSettings;
        s = *read;
    } else {
        return kOpenBadMode;
    }
    handle = NextHandle();
    mOpen[handle] = OpenPrinter{std::string(printer), std::string(port), s};
    return 0;
}

int DataDrivenModule::GetDriverInfo(DriverHandle handle, DriverInfo& info) {
    if (!Find(handle)) return 0;
    info.family = static_cast<uint16_t>(mModel->family);
    info.model = mModel->name;
    return 1;
}

int DataDrivenModule::GetCommandLevel(DriverHandle handle, DriverItem item) {
    if (!Find(handle)) return kDriverNoHandle;
    return mModel->HasItem(item) ? 1 : -1;
}

int DataDrivenModule::Answer(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value,
                             Answerer answerer) {
    OpenPrinter* p = Find(handle);
    if (!p) return kDriverNoHandle;
    if (!mModel->HasItem(item)) return kDriverRefused;
    DriverValue out;
    if (int r = (this->*answerer)(p->settings, item, query, out); r != 0) return r;
    value = std::move(out);
    return 0;
}

int DataDrivenModule::GetRange(DriverHandle handle, DriverItem item, const DriverWords& query,
                               DriverValue& range) {
    return Answer(handle, item, query, range, &DataDrivenModule::Range);
}

int DataDrivenModule::Range(const PrinterSettings& s, DriverItem item, const DriverWords& query,
                            DriverValue& out) const {
    const PrinterModel& m = *mModel;
    const ModelSource* source = m.Source(s.source);
    switch (item) {
    case DriverItem::PaperOld: out.words = source->papers; return 0;
    case DriverItem::Media: out.words = source->media; return 0;
    case DriverItem::Source:
        for (const ModelSource& src : m.sources) out.words.push_back(src.id);
        return 0;
    case DriverItem::Monochrome: out.words = {m.HasInk(kInkColour) ? 0 : 1}; return 0;
    case DriverItem::PrintMode: out.words = {MostPrintModes(m)}; return 0;
    case DriverItem::LayoutFlags: out.words = {m.layoutFlags}; return 0;
    case DriverItem::RollOptions: out.words = {source->roll ? source->rollOptions : 0}; return 0;
    case DriverItem::HighSpeed: out.words = {1}; return 0;
    case DriverItem::Inks: out.words = m.inks; return 0;
    case DriverItem::SpecialMode:
        // {ink, 15}: the media on which that ink allows "Ultrafine".
        if (query.size() != 2 || query[1] != kUltrafine) return kDriverRefused;
        for (const ModelMedium& md : m.media)
            if (const InkOnMedium* ink = md.Ink(query[0]); ink && ink->ultrafine) out.words.push_back(md.id);
        return 0;
    case DriverItem::InkOnMedium: {
        // {medium, ink}: {ink allowed on the medium, its number of print modes}.
        const ModelMedium* md = query.size() == 2 ? m.Medium(query[0]) : nullptr;
        if (!md) return kDriverRefused;
        const InkOnMedium* ink = m.HasInk(query[1]) ? md->Ink(query[1]) : nullptr;
        out.words = {ink ? 1 : 0, ink ? ink->modes : 0};
        return 0;
    }
    default: return kDriverRefused;
    }
}

int DataDrivenModule::GetData(DriverHandle handle, DriverItem item, const DriverWords& query,
                              DriverValue& value) {
    return Answer(handle, item, query, value, &DataDrivenModule::Data);
}

int DataDrivenModule::Data(const PrinterSettings& s, DriverItem item, const DriverWords& query,
                           DriverValue& out) const {
    const PrinterModel& m = *mModel;
    switch (item) {
    case DriverItem::Orientation: out.words = {s.orientation}; return 0;
    case DriverItem::PaperOld:
        // A model with the newer form answers only the older form's range.
        if (m.HasItem(DriverItem::Paper)) return kDriverRefused;
        out.words = CurrentPaper(m, s).Words();
        return 0;
    case DriverItem::Paper: out.words = CurrentPaper(m, s).Words(); return 0;
    case DriverItem::Source: out.words = {s.source}; return 0;
    case DriverItem::Media: out.words = {s.medium}; return 0;
    case DriverItem::PrintMode: out.words = PrintModeRecord{s.modeWord, s.quality, s.medium, s.ink}.Words(); return 0;
    case DriverItem::LayoutFlags: out.words = {s.layoutFlags}; return 0;
    case DriverItem::RollOptions: out.words = {s.rollOptions}; return 0;
    case DriverItem::HighSpeed: out.words = {s.highSpeed}; return 0;
    case DriverItem::SpecialMode: out.words = s.special.Words(); return 0;
    case DriverItem::Names: {
        if (query.size() != 2) return kDriverRefused;
        const int32_t id = query[1];
        const ModelPaper* paper = query[0] == kNamePaper ? m.Paper(id) : nullptr;
        const ModelSource* source = query[0] == kNameSource ? m.Source(id) : nullptr;
        const ModelMedium* medium = query[0] == kNameMedium || query[0] == kNameProfilePath ? m.Medium(id) : nullptr;
        if (paper) out.text = paper->name;
        else if (source) out.text = source->name;
        else if (medium && query[0] == kNameMedium) out.text = medium->name;
        else if (medium) out.text = PathText(ProfilePath(id));
        else return kDriverRefused;
        return 0;
    }
    default: return kDriverRefused;
    }
}

int DataDrivenModule::SetData(DriverHandle handle, DriverItem item, const DriverWords& value) {
    OpenPrinter* p = Find(handle);
    if (!p) return kDriverNoHandle;
    if (!mModel->HasItem(item) || value.size() != ValueWords(item)) return kDriverRefused;
    PrinterSettings next = p->settings;
    if (int r = Apply(next, item, value); r != 0) return r;
    if (PrinterSettings::Fault(*mModel, next)) return kDriverRefused;
    p->settings = next;
    return 0;
}

int DataDrivenModule::Apply(PrinterSettings& s, DriverItem item, const DriverWords& v) const {
    switch (item) {
    case DriverItem::Orientation: s.orientation = v[0]; return 0;
    case DriverItem::PaperOld:
        if (mModel->HasItem(DriverItem::Paper)) return kDriverRefused;
        s.paper = v[0];
        return 0;
    case DriverItem::Paper: s.paper = v[0]; return 0;
    case DriverItem::Source:
        if (!mModel->Source(v[0])) return kDriverRefused;
        s.ChangeSource(*mModel, v[0]);
        return 0;
    case DriverItem::PrintMode:
        s.modeWord = v[0];
        s.quality = v[1];
        s.medium = v[2];
        s.ink = v[3];
        // Every print-mode write ends "Ultrafine"; a later change of quality must not
        // leave the printer in it.
        s.special.mode = 0;
        return 0;
    case DriverItem::Centring: s.centring = v[0]; return 0;
    case DriverItem::ColourHandling: s.colourHandling = v[0]; return 0;
    case DriverItem::LayoutFlags: s.layoutFlags = v[0]; return 0;
    case DriverItem::RollOptions: s.rollOptions = v[0]; return 0;
    case DriverItem::HighSpeed: s.highSpeed = v[0]; return 0;
    case DriverItem::SpecialMode: s.special = SpecialModeRecord{v[0], v[1], v[2]}; return 0;
    default: return kDriverRefused;  // media are set through item 70; the rest are ranges
    }
}

std::unique_ptr<PrintDevice> DataDrivenModule::CreateDC(DriverHandle handle) {
    OpenPrinter* p = Find(handle);
    if (!p) return nullptr;
    return std::make_unique<PrintDevice>(CurrentDeviceCaps(*mModel, p->settings), ProfilePath(p->settings.medium));
}

int DataDrivenModule::ResetDC(DriverHandle handle, PrintDevice& device) {
    OpenPrinter* p = Find(handle);
    if (!p) return 0;
    device.Reset(CurrentDeviceCaps(*mModel, p->settings), ProfilePath(p->settings.medium));
    return 1;
}

int DataDrivenModule::DeleteDC(DriverHandle handle, std::unique_ptr<PrintDevice> device) {
    return Find(handle) && device ? 1 : 0;
}

std::string DataDrivenModule::GetDevMode(DriverHandle handle) {
    OpenPrinter* p = Find(handle);
    return p ? SettingsRecord::Write(*mModel, p->settings) : std::string();
}

int DataDrivenModule::UpdateDevMode(DriverHandle handle, const std::string& settings) {
    OpenPrinter* p = Find(handle);
    if (!p) return kDriverNoHandle;
    std::optional<PrinterSettings> read = SettingsRecord::Read(*mModel, settings);
    if (!read) return kDriverRefused;
    p->settings = *read;
    return 0;
}

int DataDrivenModule::Close(DriverHandle handle) { return mOpen.erase(handle) ? 1 : 0; }

}  // namespace vx
