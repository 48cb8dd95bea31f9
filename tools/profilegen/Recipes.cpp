#include "profilegen/Recipes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/system/FourCC.h"
#include "platform/system/Numbers.h"
#include "platform/system/Utf8.h"
#include "profilegen/CmykInkModel.h"
#include "profilegen/ColourMath.h"

namespace vx::profilegen {
namespace {

constexpr const char* kCopyright = "No copyright, use freely";
constexpr uint32_t kMdeaTag = FourCC("mdea");

[[noreturn]] void Fail(const ProfileEntry& entry, const std::string& what) {
    throw std::runtime_error(entry.Where() + ": " + what);
}

/// The recipe's own keys, checked for unknown names and ranges.
class Params {
public:
    Params(const ProfileEntry& entry, std::initializer_list<const char*> allowed) : mEntry(entry) {
        std::set<std::string> names;
        for (const char* a : allowed) names.insert(AsciiLower(a));
        for (const auto& [key, value] : entry.params)
            if (!names.count(key)) Fail(entry, "recipe " + entry.recipe + " has no key " + key);
    }
    double Number(const char* key, double fallback, double min, double max) const {
        auto it = mEntry.params.find(AsciiLower(key));
        if (it == mEntry.params.end()) return fallback;
        size_t used = 0;
        auto v = ParseDouble(it->second, &used);
        if (!v || used != it->second.size() || *v < min || *v > max)
            Fail(mEntry, std::string(key) + " must be a number from " + FormatFixed(min, 2) +
                            " to " + FormatFixed(max, 2));
        return *v;
    }
    double Required(const char* key, double min, double max) const {
        if (!mEntry.params.count(AsciiLower(key))) Fail(mEntry, std::string("missing key ") + key);
        return Number(key, 0, min, max);
    }

private:
    const ProfileEntry& mEntry;
};

// Version 2 text descriptions keep 8-bit text, which LittleCMS writes as Latin-1.
std::wstring Latin1Text(const ProfileEntry& entry, const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        const size_t len = Utf8SequenceLength(utf8, i);
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (len == 1) out += wchar_t(b0);
        else if (len == 2 && b0 <= 0xC3)
            out += wchar_t(((b0 & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
        else Fail(entry, "the description must be Latin-1 text in UTF-8");
        i += len;
    }
    return out;
}

void WriteText(const ProfileEntry& entry, cmsHPROFILE h, cmsTagSignature tag, const std::string& text) {
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    const bool ok = mlu && cmsMLUsetWide(mlu, "en", "US", Latin1Text(entry, text).c_str()) &&
                    cmsWriteTag(h, tag, mlu);
    if (mlu) cmsMLUfree(mlu);
    if (!ok) Fail(entry, "cannot write a text tag");
}

// Sets the header and the tags every generated profile has. The version comes first:
// LittleCMS picks each tag's type by it.
ProfileHandle NewProfile(const ProfileEntry& entry, cmsHPROFILE from, cmsColorSpaceSignature pcs) {
    ProfileHandle h(from ? from : cmsCreateProfilePlaceholder(nullptr));
    if (!h) Fail(entry, "LittleCMS cannot create a profile");
    cmsSetProfileVersion(h.get(), 2.1);
    cmsSetDeviceClass(h.get(), cmsProfileClassSignature(entry.deviceClass));
    cmsSetColorSpace(h.get(), cmsColorSpaceSignature(entry.colourSpace));
    cmsSetPCS(h.get(), pcs);
    cmsSetHeaderRenderingIntent(h.get(), INTENT_PERCEPTUAL);
    WriteText(entry, h.get(), cmsSigProfileDescriptionTag, entry.description);
    WriteText(entry, h.get(), cmsSigCopyrightTag, kCopyright);
    return h;
}

using Sampler = std::function<void(const cmsUInt16Number* in, cmsUInt16Number* out)>;

cmsInt32Number SampleThunk(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) {
    (*static_cast<Sampler*>(cargo))(in, out);
    return TRUE;
}

// A table-only pipeline: written as lut16Type in version 2, so Lab is in the version 2
// encoding (L* 100 = 0xFF00) on both sides.
void WriteTable(const ProfileEntry& entry, cmsHPROFILE h, cmsTagSignature tag, int grid,
                int inChannels, int outChannels, Sampler sampler) {
    cmsPipeline* pipe = cmsPipelineAlloc(nullptr, inChannels, outChannels);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, grid, inChannels, outChannels, nullptr);
    bool ok = pipe && clut && cmsStageSampleCLut16bit(clut, SampleThunk, &sampler, 0);
    if (ok) {
        ok = cmsPipelineInsertStage(pipe, cmsAT_END, clut);
        if (ok) clut = nullptr;  // owned by the pipeline now
    }
    ok = ok && cmsWriteTag(h, tag, pipe);
    if (clut) cmsStageFree(clut);
    if (pipe) cmsPipelineFree(pipe);
    if (!ok) Fail(entry, "cannot write a colour table");
}

cmsCIELab DecodeLab(const cmsUInt16Number* in) {
    cmsCIELab lab;
    cmsLabEncoded2FloatV2(&lab, in);
    return lab;
}

void EncodeLab(const cmsCIELab& lab, cmsUInt16Number* out) {
    cmsFloat2LabEncodedV2(out, &lab);
}

cmsUInt16Number Encode01(double v) {
    return cmsUInt16Number(std::lround(std::clamp(v, 0.0, 1.0) * 65535.0));
}

// RGB devices whose colours are sRGB-primary mixes laid between a black and a white
// (both neutral, given as luminance) in linear light.
struct RgbDevice {
    double gamma = 0;  // 0: the sRGB curve
    double whiteY = 1, blackY = 0;

    cmsCIELab ToLab(const cmsUInt16Number* in) const {
        Vec3 lin;
        for (int i = 0; i < 3; ++i) {
            const double v = in[i] / 65535.0;
            lin[i] = gamma > 0 ? std::pow(v, gamma) : SrgbDecode(v);
        }
        Vec3 xyz = LinearRgbToXyz(lin);
        const cmsCIEXYZ* d50 = cmsD50_XYZ();
        const double d50v[3] = {d50->X, d50->Y, d50->Z};
        for (int i = 0; i < 3; ++i) xyz[i] = blackY * d50v[i] + (whiteY - blackY) * xyz[i];
        return XyzToLab(xyz);
    }

    void FromLab(const cmsCIELab& lab, cmsUInt16Number* out) const {
        Vec3 xyz = LabToXyz(lab);
        const cmsCIEXYZ* d50 = cmsD50_XYZ();
        const double d50v[3] = {d50->X, d50->Y, d50->Z};
        for (int i = 0; i < 3; ++i) xyz[i] = (xyz[i] - blackY * d50v[i]) / (whiteY - blackY);
        const Vec3 lin = XyzToLinearRgb(xyz);
        for (int i = 0; i < 3; ++i) {
            const double v = std::clamp(lin[i], 0.0, 1.0);
            out[i] = Encode01(gamma > 0 ? std::pow(v, 1 / gamma) : SrgbEncode(v));
        }
    }
};

double LuminanceOfLightness(double l) {
    return LabToXyz(cmsCIELab{l, 0, 0})[1];
}

ProfileHandle RgbTableProfile(const ProfileEntry& entry, const RgbDevice& device) {
    ProfileHandle h = NewProfile(entry, nullptr, cmsSigLabData);
    cmsWriteTag(h.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    WriteTable(entry, h.get(), cmsSigAToB0Tag, 33, 3, 3,
               [&](const cmsUInt16Number* in, cmsUInt16Number* out) {
                   EncodeLab(device.ToLab(in), out);
               });
    WriteTable(entry, h.get(), cmsSigBToA0Tag, 33, 3, 3,
               [&](const cmsUInt16Number* in, cmsUInt16Number* out) {
                   device.FromLab(DecodeLab(in), out);
               });
    return h;
}

// Version 2 keeps tone curves as tables, and LittleCMS samples the sRGB curve at 4096
// points. Inverting such a table costs every new transform that ends in the profile
// milliseconds (it grows with the square of the points); 1024 points, as common v2 sRGB
// profiles have, keep the curve within 16-bit accuracy at a sixteenth of that.
constexpr int kSrgbCurvePoints = 1024;

ProfileHandle Srgb(const ProfileEntry& entry) {
    Params(entry, {});
    ProfileHandle h = NewProfile(entry, cmsCreate_sRGBProfile(), cmsSigXYZData);
    const cmsFloat64Number srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* exact = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    std::vector<cmsUInt16Number> samples(kSrgbCurvePoints);
    for (int i = 0; i < kSrgbCurvePoints; ++i)
        samples[size_t(i)] = cmsEvalToneCurve16(exact, cmsUInt16Number(i * 65535 / (kSrgbCurvePoints - 1)));
    cmsToneCurve* table = cmsBuildTabulatedToneCurve16(nullptr, kSrgbCurvePoints, samples.data());
    const bool written = exact && table && cmsWriteTag(h.get(), cmsSigRedTRCTag, table) &&
                         cmsWriteTag(h.get(), cmsSigGreenTRCTag, table) && cmsWriteTag(h.get(), cmsSigBlueTRCTag, table);
    cmsFreeToneCurve(table);
    cmsFreeToneCurve(exact);
    if (!written) Fail(entry, "LittleCMS cannot write the sRGB curves");
    return h;
}

ProfileHandle Bt709Gamma(const ProfileEntry& entry) {
    Params p(entry, {"Gamma"});
    RgbDevice device;
    device.gamma = p.Required("Gamma", 1.0, 3.0);
    return RgbTableProfile(entry, device);
}

ProfileHandle PrinterRgb(const ProfileEntry& entry) {
    Params p(entry, {"PaperWhiteL", "BlackL", "Mdea"});
    const double white = p.Required("PaperWhiteL", 50, 100);
    const double black = p.Required("BlackL", 0, white - 10);
    const double mdea = p.Number("Mdea", 0, 0, 1);
    if (mdea != 0 && mdea != 1) Fail(entry, "Mdea must be 0 or 1");
    RgbDevice device;
    device.whiteY = LuminanceOfLightness(white);
    device.blackY = LuminanceOfLightness(black);
    ProfileHandle h = RgbTableProfile(entry, device);
    if (mdea == 1) {
        // A dataType holding the medium's name as ASCII text.
        std::vector<uint8_t> data = {'d', 'a', 't', 'a', 0, 0, 0, 0, 0, 0, 0, 0};
        data.insert(data.end(), entry.description.begin(), entry.description.end());
        data.push_back(0);
        if (!cmsWriteRawTag(h.get(), cmsTagSignature(kMdeaTag), data.data(),
                            cmsUInt32Number(data.size())))
            Fail(entry, "cannot write the mdea tag");
    }
    return h;
}

ProfileHandle CmykInk(const ProfileEntry& entry) {
    Params p(entry, {"InkLimit"});
    const CmykInkModel model(p.Required("InkLimit", 100, 400) / 100.0);
    ProfileHandle h = NewProfile(entry, nullptr, cmsSigLabData);
    cmsWriteTag(h.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    WriteTable(entry, h.get(), cmsSigAToB0Tag, 17, 4, 3,
               [&](const cmsUInt16Number* in, cmsUInt16Number* out) {
                   EncodeLab(model.Forward({in[0] / 65535.0, in[1] / 65535.0, in[2] / 65535.0,
                                            in[3] / 65535.0}),
                             out);
               });
    // Nodes come in order, so each search starts from its neighbour's answer.
    std::array<double, 3> hint{0, 0, 0};
    WriteTable(entry, h.get(), cmsSigBToA0Tag, 33, 3, 4,
               [&](const cmsUInt16Number* in, cmsUInt16Number* out) {
                   const std::array<double, 4> cmyk = model.Separate(DecodeLab(in), hint);
                   for (int i = 0; i < 4; ++i) out[i] = Encode01(cmyk[i]);
               });
    return h;
}

ProfileHandle LabAdjust(const ProfileEntry& entry) {
    Params p(entry, {"LightnessShift", "ContrastFactor", "ChromaShift"});
    const double shift = p.Number("LightnessShift", 0, -50, 50);
    const double contrast = p.Number("ContrastFactor", 1, 0.1, 3);
    const double chroma = p.Number("ChromaShift", 0, -100, 100);
    const bool identity = shift == 0 && contrast == 1 && chroma == 0;
    ProfileHandle h = NewProfile(entry, nullptr, cmsSigLabData);
    cmsWriteTag(h.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    // Two nodes carry the identity exactly.
    WriteTable(entry, h.get(), cmsSigAToB0Tag, identity ? 2 : 33, 3, 3,
               [&](const cmsUInt16Number* in, cmsUInt16Number* out) {
                   if (identity) {
                       std::copy(in, in + 3, out);
                       return;
                   }
                   cmsCIELab lab = DecodeLab(in);
                   lab.L = std::clamp(50 + (lab.L - 50) * contrast + shift, 0.0, 100.0);
                   const double c = std::hypot(lab.a, lab.b);
                   if (c > 0) {
                       const double raised = chroma >= 0 ? c + chroma * std::min(1.0, c / 10)
                                                         : std::max(0.0, c + chroma);
                       lab.a *= raised / c;
                       lab.b *= raised / c;
                   }
                   EncodeLab(lab, out);
               });
    return h;
}

struct Recipe {
    const char* name;
    uint32_t space;
    std::vector<uint32_t> classes;
    ProfileHandle (*build)(const ProfileEntry&);
};

const std::vector<Recipe>& Recipes() {
    static const std::vector<Recipe> recipes = {
        {"srgb", FourCC("RGB "), {FourCC("mntr"), FourCC("prtr")}, Srgb},
        {"bt709-gamma", FourCC("RGB "), {FourCC("mntr"), FourCC("prtr")}, Bt709Gamma},
        {"printer-rgb", FourCC("RGB "), {FourCC("prtr")}, PrinterRgb},
        {"cmyk-ink", FourCC("CMYK"), {FourCC("prtr")}, CmykInk},
        {"lab-adjust", FourCC("Lab "), {FourCC("abst")}, LabAdjust},
    };
    return recipes;
}

}  // namespace

ProfileHandle BuildProfile(const ProfileEntry& entry) {
    for (const Recipe& r : Recipes()) {
        if (entry.recipe != r.name) continue;
        if (entry.colourSpace != r.space) Fail(entry, "recipe " + entry.recipe + " makes another space");
        if (std::find(r.classes.begin(), r.classes.end(), entry.deviceClass) == r.classes.end())
            Fail(entry, "recipe " + entry.recipe + " cannot make that class");
        return r.build(entry);
    }
    Fail(entry, "unknown recipe \"" + entry.recipe + "\"");
}

}  // namespace vx::profilegen
