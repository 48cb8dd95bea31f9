#include "platform/driver/PrinterSettings.h"

namespace vx {
namespace {

// The ink a medium falls back to: colour where allowed, else its first.
int32_t FallbackInk(const ModelMedium& medium, int32_t ink) {
    if (medium.Ink(ink)) return ink;
    if (medium.Ink(kInkColour)) return kInkColour;
    return medium.inks.empty() ? ink : medium.inks.front().ink;
}

}  // namespace

PrinterSettings PrinterSettings::Defaults(const PrinterModel& model) {
    PrinterSettings s;
    if (model.sources.empty()) return s;
    const ModelSource& first = model.sources.front();
    s.source = first.id;
    if (!first.papers.empty()) s.paper = first.papers.front();
    if (!first.media.empty()) s.medium = first.media.front();
    if (const ModelMedium* m = model.Medium(s.medium)) s.ink = FallbackInk(*m, kInkColour);
    return s;
}

const char* PrinterSettings::Fault(const PrinterModel& model, const PrinterSettings& s) {
    if (s.orientation != 1 && s.orientation != 2) return "orientation";
    const ModelSource* source = model.Source(s.source);
    if (!source) return "source";
    if (!source->OffersPaper(s.paper)) return "paper";
    if (!source->OffersMedium(s.medium)) return "medium";
    const ModelMedium* medium = model.Medium(s.medium);
    const InkOnMedium* ink = medium ? medium->Ink(s.ink) : nullptr;
    if (!medium || !model.HasInk(s.ink) || !ink) return "ink";
    if (s.modeWord < 0 || s.modeWord > 0xFFFF) return "mode";
    if (s.quality != 1 && s.quality != 2) return "quality";
    if (s.quality == 2 && ink->modes < 2) return "quality";
    if (!model.HasItem(DriverItem::SpecialMode) && !(s.special == SpecialModeRecord{})) return "special";
    if (s.special.mode != 0 && s.special.mode != kUltrafine) return "special";
    if (s.special.mode == kUltrafine && !ink->ultrafine) return "special";
    if (s.layoutFlags & ~model.layoutFlags) return "layout";
    const int32_t rollOffered = model.HasItem(DriverItem::RollOptions) && source->roll ? source->rollOptions : 0;
    if (s.rollOptions & ~rollOffered) return "roll";
    if (s.highSpeed != 0 && !(s.highSpeed == 1 && model.HasItem(DriverItem::HighSpeed))) return "highspeed";
    if (s.colourHandling != 0 && s.colourHandling != 3) return "colour";
    if (s.centring != 0 && !(s.centring == 1 && model.HasItem(DriverItem::Centring))) return "centring";
    return nullptr;
}

void PrinterSettings::ChangeSource(const PrinterModel& model, int32_t newSource) {
    const ModelSource* to = model.Source(newSource);
    source = newSource;
    if (!to) return;
    if (!to->OffersPaper(paper) && !to->papers.empty()) paper = to->papers.front();
    rollOptions = to->roll ? (rollOptions & to->rollOptions) : 0;
    if (to->OffersMedium(medium) || to->media.empty()) return;
    medium = to->media.front();
    const ModelMedium* m = model.Medium(medium);
    if (!m) return;
    ink = FallbackInk(*m, ink);
    const InkOnMedium* allowed = m->Ink(ink);
    if (allowed && allowed->modes < 2) quality = 1;
    if (allowed && !allowed->ultrafine) special.mode = 0;
}

}  // namespace vx
