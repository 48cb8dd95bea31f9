#include "document/LayoutXmlReader.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "colourmanagement/ImageProfiles.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "document/ImageItemOpener.h"
#include "document/LayoutPaths.h"
#include "document/LayoutXmlNames.h"
#include "document/LayoutXmlRules.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/ImageNotFoundPrompt.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "host/ViewServices.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/ImageLabels.h"
#include "model/LayoutLimits.h"
#include "model/ObjectList.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/SystemLanguage.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSummary.h"
#include "templates/XmlText.h"
#include "view/FontAvailability.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

struct ParserContextFree {
    void operator()(xmlParserCtxt* c) const noexcept { xmlFreeParserCtxt(c); }
};
struct DocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};

std::string_view NameOf(const xmlNode* n) { return reinterpret_cast<const char*>(n->name); }

/// The rules of a context by element name.
class RuleIndex {
public:
    explicit RuleIndex(XmlContext context) {
        for (const XmlRule& r : LayoutXmlRules(context)) mRules.emplace(kLayoutXmlNames[size_t(r.name)], &r);
    }
    const XmlRule* Find(std::string_view name) const {
        auto it = mRules.find(name);
        return it == mRules.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<std::string_view, const XmlRule*> mRules;
};

const RuleIndex& Rules(XmlContext context) {
    static const std::array<RuleIndex, 4> kIndex = {RuleIndex(XmlContext::Layout), RuleIndex(XmlContext::Image),
                                                    RuleIndex(XmlContext::FreeText), RuleIndex(XmlContext::FreeLine)};
    switch (context) {
        case XmlContext::Image: return kIndex[1];
        case XmlContext::FreeText: return kIndex[2];
        case XmlContext::FreeLine: return kIndex[3];
        default: return kIndex[0];
    }
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

/// A usable image file: an absolute path (a stored Windows path is not one) to a file.
bool IsImageFileThere(const fs::path& path) {
    std::error_code ec;
    return path.is_absolute() && fs::is_regular_file(path, ec);
}

/// Which image files exist, by folder: a folder is listed once rather than each of its
/// files asked for (a layout names hundreds of files in a few folders). Forget() after
/// the user had a chance to change the folders.
class ImageFileIndex {
public:
    bool IsThere(const fs::path& path) {
        if (!path.is_absolute() || !path.has_filename()) return false;
        auto [it, added] = mFolders.try_emplace(path.parent_path().string());
        if (added) it->second = List(it->first);
        if (!it->second) return IsImageFileThere(path);  // not listable (searchable only): ask for the file
        return it->second->count(path.filename().string()) != 0;
    }
    void Forget() { mFolders.clear(); }

private:
    using Names = std::unordered_set<std::string>;

    static std::optional<Names> List(const std::string& folder) {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
        if (!dir) return std::nullopt;
        Names names;
        while (const dirent* e = readdir(dir.get())) {
            bool regular = e->d_type == DT_REG;
            if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
                struct stat st {};
                regular = fstatat(dirfd(dir.get()), e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
            }
            if (regular) names.emplace(e->d_name);
        }
        return names;
    }

    std::unordered_map<std::string, std::optional<Names>> mFolders;
};

/// Where the file dialog of the missing-image search starts: the user's documents
/// folder as the desktop names it (XDG_DOCUMENTS_DIR in user-dirs.dirs, "Dokumente" on
/// a German desktop), else ~/Documents, else the home folder.
fs::path DocumentsFolder() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    const fs::path homeFolder(home);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::ifstream dirs((config && *config ? fs::path(config) : homeFolder / ".config") / "user-dirs.dirs");
    std::error_code ec;
    for (std::string line; std::getline(dirs, line);) {
        static constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
        if (!line.starts_with(kKey) || line.size() < kKey.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
        if (value.starts_with("$HOME")) value = homeFolder.string() + value.substr(5);
        if (fs::path(value).is_absolute() && fs::is_directory(value, ec)) return value;
    }
    const fs::path documents = homeFolder / "Documents";
    return fs::is_directory(documents, ec) ? documents : homeFolder;
}

bool EnsureFont(std::string& face, bool& warn) {
    if (ViewServices* services = HostService<ViewServices>()) return services->EnsureFontAvailable(face, warn);
    return EnsureFontAvailable(face, warn);
}

int ReaderLanguage() {
    if (ApplicationState* app = HostService<ApplicationState>()) return app->GetSystemLanguage();
    return GetSystemLanguage();
}

/// One load: the record being filled, the current items and folder, and the flags.
class LayoutXmlReader {
public:
    LayoutXmlReader(const fs::path& path, CLayoutSetting* target)
        : mTarget(target && target->GetTemplate() ? target : nullptr) {
        mDocumentPath = AbsolutePathText(path);
        mFolder = mDocumentPath;
        mScope.documentPath = mDocumentPath;
        mScope.language = ReaderLanguage();
    }

    LayoutLoad Load();

private:
    enum class Walk : uint8_t { Ok, Unreadable, Cancelled };

    Walk Parse();
    bool ReadHeaderXml(const xmlNode* header);
    Walk ReadLayoutXmlElements(const xmlNode* layout);
    Walk ReadObjectsXml(const xmlNode* objects);
    bool ReadImageXml(const xmlNode* image);
    bool ReadFreeTextXml(const xmlNode* text);
    bool ReadFreeLineXml(const xmlNode* line);
    bool ResolveImageFile(const std::string& shownName, fs::path& found);
    void ReplaceMissingProfiles();
    bool ProfileInstalled(const std::string& description);
    bool SourceProfileAvailable(const CImageObj& image);
    void DeleteRecord();

    bool EnsureRecord();
    bool Text(const xmlNode* element);
    void CheckFont(std::string& face);
    void RemoveItem(CLayoutObj* item);
    bool RoomForItem() const;
    void ResolveStamp();

    CLayoutSetting* mTarget;
    std::unique_ptr<CLayoutSetting> mOwned;
    CLayoutSetting* mLayout = nullptr;
    XmlScope mScope;
    std::string mDocumentPath;
    std::string mFolder;        // the folder of the next image's File: at first the document's own path
    fs::path mSearchFolder;     // where the user last found a missing image
    bool mWarnFonts = true;
    bool mDiscard = false;
    bool mSkipImages = false;
    int mItems = 0;  // items in the layout's list, kept here rather than counted per item
    int32_t mImagesTotal = 0;
    int32_t mImagesRead = 0;
    std::string mText;  // the current element's text
    // Answers of the profile catalogue by name: a layout's images mostly share a few
    // profiles, and each question looks at the colour folders again.
    std::unordered_map<std::string, bool> mInstalled;
    std::unordered_map<std::string, bool> mSourceAvailable;
    ImageFileIndex mFiles;
};

/// The element's own text. Entity references fail: nothing from a DTD is expanded.
bool LayoutXmlReader::Text(const xmlNode* element) {
    mText.clear();
    for (const xmlNode* n = element->children; n; n = n->next) {
        if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
            if (n->content) mText += reinterpret_cast<const char*>(n->content);
        } else if (n->type == XML_ENTITY_REF_NODE) {
            return false;
        }
    }
    return true;
}

bool LayoutXmlReader::EnsureRecord() {
    if (mLayout) return true;
    if (mTarget) {
        mLayout = mTarget;
    } else {
        try {
            mOwned = NewLayoutFromDefaults();
            mOwned->Texts().documentPath = mDocumentPath;
        } catch (const std::bad_alloc&) {
            return false;
        }
        mLayout = mOwned.get();
    }
    mScope.layout = mLayout;
    mItems = CountObjects(mLayout->ItemListHead());
    if (!mLayout->GetBaseImage()) mLayout->SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
    mScope.image = mLayout->GetBaseImage();
    return true;
}

void LayoutXmlReader::DeleteRecord() {
    if (!mOwned) return;
    mLayout = nullptr;
    if (ApplicationState* app = HostService<ApplicationState>()) app->DeleteLayoutRecord(std::move(mOwned), nullptr);
    mOwned.reset();
}

/// A face that is not installed is replaced; the first replacement asks the user, and a
/// Cancel there throws the layout away.
void LayoutXmlReader::CheckFont(std::string& face) {
    if (EnsureFont(face, mWarnFonts)) return;
    mLayout->SetDirty(1);
    if (mWarnFonts) mDiscard = true;
}

void LayoutXmlReader::RemoveItem(CLayoutObj* item) {
    if (mLayout->GetCurrentItem() == item) mLayout->SetCurrentItem(nullptr);
    if (RemoveObjectById(mLayout->ItemListHead(), item)) --mItems;
}

/// We never write more items than a layout holds: a file with more is not ours.
bool LayoutXmlReader::RoomForItem() const { return mItems < kMaxLayoutObjects; }

bool LayoutXmlReader::ReadHeaderXml(const xmlNode* header) {
    std::array<int, 3> seen{};
    for (const xmlNode* n = header->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const int at = FindInLayoutXmlContext(XmlContext::Header, NameOf(n));
        if (at < 0 || seen[size_t(at)]++) return false;
    }
    return seen == std::array<int, 3>{1, 1, 1};
}

LayoutXmlReader::Walk LayoutXmlReader::ReadLayoutXmlElements(const xmlNode* layout) {
    if (!EnsureRecord()) return Walk::Unreadable;
    mScope.image = mLayout->GetBaseImage();
    const RuleIndex& rules = Rules(XmlContext::Layout);
    for (const xmlNode* n = layout->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        if (Progress().IsCancelled()) return Walk::Cancelled;
        const XmlRule* rule = rules.Find(NameOf(n));
        if (!rule || !Text(n)) return Walk::Unreadable;
        if (rule->form == XmlForm::Special) continue;  // the preview is for choosers, not for the layout
        if (!ParseXmlRule(*rule, mScope, mText)) return Walk::Unreadable;
        switch (rule->name) {
            case 37: CheckFont(mLayout->HeaderFooterFont().face); break;
            case 94:
            case 100: {
                CImageObj& base = *mScope.image;
                std::string face = rule->name == 94 ? base.GetLabelFontName() : base.GetCaptionFontName();
                CheckFont(face);
                rule->name == 94 ? base.SetLabelFontName(std::move(face)) : base.SetCaptionFontName(std::move(face));
                break;
            }
            case 108:
            case 109: ResolveStamp(); break;
            default: break;
        }
    }
    CImageObj& base = *mLayout->GetBaseImage();
    base.SetImageOption(base.GetSizeMethod() == 2 ? 1 : base.GetImageOptionDimens());
    if (ApplicationState* app = HostService<ApplicationState>()) app->PrepareNewLayout(*mLayout);
    mScope.image = mLayout->GetBaseImage();
    return Walk::Ok;
}

void LayoutXmlReader::ResolveStamp() {
    std::string& stamp = mLayout->Texts().imageStampPath;
    if (stamp.empty() || IsImageFileThere(stamp)) return;
    fs::path found;
    if (ResolveImageFile(stamp, found)) stamp = found.string();
}

LayoutXmlReader::Walk LayoutXmlReader::ReadObjectsXml(const xmlNode* objects) {
    if (!EnsureRecord()) return Walk::Unreadable;
    for (const xmlNode* n = objects->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE && NameOf(n) == kLayoutXmlNames[kXmlImage]) ++mImagesTotal;
    for (const xmlNode* n = objects->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        if (Progress().IsCancelled()) return Walk::Cancelled;
        const std::string_view name = NameOf(n);
        bool ok = true;
        if (name == kLayoutXmlNames[kXmlImage]) {
            if (!mDiscard && !mSkipImages) ok = ReadImageXml(n);
        } else if (name == kLayoutXmlNames[kXmlFreeText]) {
            ok = ReadFreeTextXml(n);
        } else if (name == kLayoutXmlNames[kXmlFreeLine]) {
            ok = ReadFreeLineXml(n);
        } else {
            ok = false;
        }
        if (!ok) return Walk::Unreadable;
    }
    return Walk::Ok;
}

bool LayoutXmlReader::ReadImageXml(const xmlNode* element) {
    if (!RoomForItem()) return false;
    CImageObj* item = ImageItems().CreateImageObj(mLayout->GetBaseImage(), mLayout->ItemListHead(), "StdImage");
    if (!item) return false;
    ++mItems;
    item->SetOwner(mLayout);
    item->SetType(kRecordTypeLayout);
    if (ViewStateBlock* state = mLayout->GetViewState()) {
        state->statusA = ++mImagesRead;
        state->statusB = mImagesTotal;
    }
    StatusBar().UpdateStatusText(kStatusLoading, {(long long)mImagesRead, (long long)mImagesTotal});

    mScope.image = item;
    const RuleIndex& rules = Rules(XmlContext::Image);
    std::string fileName;
    std::string path;
    bool haveFile = false;
    bool ok = true;
    for (const xmlNode* n = element->children; n && ok; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const XmlRule* rule = rules.Find(NameOf(n));
        if (!rule || !Text(n)) {
            ok = false;
            break;
        }
        switch (rule->name) {
            case kXmlRelativeDir:
            case kXmlDir: {
                std::string folder = FromXmlText(mText);
                if (folder.empty()) {
                    ok = false;
                    break;
                }
                if (rule->name == kXmlRelativeDir) folder = ResolveRelativePath(mDocumentPath, folder).string();
                if (folder.empty() || !IsSeparator(folder.back())) folder += '/';
                mFolder = std::move(folder);
                break;
            }
            case kXmlFile: {
                std::string stored = FromXmlText(mText);
                const size_t cut = stored.find_last_of("/\\");
                fileName = cut == std::string::npos ? stored : stored.substr(cut + 1);
                path = mFolder;
                if (path.empty() || !IsSeparator(path.back())) path += '/';
                path += fileName;
                haveFile = true;
                break;
            }
            default:
                ok = ParseXmlRule(*rule, mScope, mText);
                if (ok && (rule->name == 158 || rule->name == 164)) {
                    std::string face = rule->name == 158 ? item->GetLabelFontName() : item->GetCaptionFontName();
                    CheckFont(face);
                    rule->name == 158 ? item->SetLabelFontName(std::move(face))
                                      : item->SetCaptionFontName(std::move(face));
                }
                break;
        }
    }
    mScope.image = mLayout->GetBaseImage();
    if (!ok) return false;

    fs::path file = path;
    if (haveFile && !mFiles.IsThere(file)) {
        if (!mSearchFolder.empty() && !fileName.empty() && mFiles.IsThere(mSearchFolder / fileName)) {
            file = mSearchFolder / fileName;
        } else if (!ResolveImageFile(path, file)) {
            RemoveItem(item);
            return true;
        }
    }
    item->SetFilePath(file);
    if (!haveFile || !ImageItems().OpenImageFile(*item, file)) {
        // There but not readable as an image: the layout goes on without it, changed.
        RemoveItem(item);
        StatusBar().UpdateStatusText(kStatusUnreadable);
        mLayout->SetDirty(1);
        return true;
    }
    ImageItems().EnsureWorkingBitmap(*item);
    ImageItems().RecalcFrameCaption(*item);
    return true;
}

bool LayoutXmlReader::ReadFreeTextXml(const xmlNode* element) {
    if (!RoomForItem()) return false;
    CTextObj* item = CreateTextObject(mLayout, mLayout->ItemListHead());
    if (!item) return false;
    ++mItems;
    mScope.text = item;
    const RuleIndex& rules = Rules(XmlContext::FreeText);
    for (const xmlNode* n = element->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const XmlRule* rule = rules.Find(NameOf(n));
        if (!rule || !Text(n) || !ParseXmlRule(*rule, mScope, mText)) return false;
        if (rule->name == 182) {
            FontSpec font = item->GetFont();
            CheckFont(font.face);
            item->SetFont(std::move(font));
        }
    }
    MeasureFreeText(*item);  // without a measurer the stored box stands
    return true;
}

bool LayoutXmlReader::ReadFreeLineXml(const xmlNode* element) {
    if (!RoomForItem()) return false;
    CLineObj* item = CreateLineObject(mLayout, mLayout->ItemListHead());
    if (!item) return false;
    ++mItems;
    mScope.line = item;
    const RuleIndex& rules = Rules(XmlContext::FreeLine);
    for (const xmlNode* n = element->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const XmlRule* rule = rules.Find(NameOf(n));
        if (!rule || !Text(n) || !ParseXmlRule(*rule, mScope, mText)) return false;
    }
    ComputeFreeLineGeometry(*item);
    return true;
}

/// Asks the user about a missing file shown as shownName. "Suchen" lets them choose
/// one, whose folder is then tried first for later missing images; "Stopp" loads no
/// more images; anything else skips this one.
bool LayoutXmlReader::ResolveImageFile(const std::string& shownName, fs::path& found) {
    ImageNotFoundPrompt* prompt = HostService<ImageNotFoundPrompt>();
    const int answer = prompt ? prompt->Ask(shownName) : kImageNotFoundSkip;
    mFiles.Forget();  // the user may have put files back meanwhile
    if (answer == kImageNotFoundStop) {
        mSkipImages = true;
        return false;
    }
    if (answer != kImageNotFoundSearch) return false;
    ToolWindows* windows = HostService<ToolWindows>();
    if (!windows) return false;
    const std::vector<fs::path> chosen = windows->ChooseImageFiles(DocumentsFolder());
    if (chosen.empty() || !IsImageFileThere(chosen.front())) return false;
    found = chosen.front();
    mSearchFolder = found.parent_path();
    return true;
}

bool LayoutXmlReader::ProfileInstalled(const std::string& description) {
    auto [it, added] = mInstalled.try_emplace(description, false);
    if (added) it->second = ProfileFileExists(description);
    return it->second;
}

bool LayoutXmlReader::SourceProfileAvailable(const CImageObj& image) {
    // Everything the availability depends on besides the catalogue.
    std::string key = image.GetSourceProfile();
    key += '\0';
    key += image.GetUseZelFile() != 0 ? '1' : '0';
    key += image.GetFileEmbedded() && image.GetProfileUseEmbed() ? '1' : '0';
    auto [it, added] = mSourceAvailable.try_emplace(std::move(key), false);
    if (added) it->second = IsImageSourceProfileAvailable(image);
    return it->second;
}

/// Profiles that are not installed are replaced by the defaults of their kind, which
/// the user must accept.
void LayoutXmlReader::ReplaceMissingProfiles() {
    bool replaced = false;
    auto replace = [&](std::string& description, uint32_t classCode, std::optional<std::string> file) {
        if (ProfileInstalled(description)) return false;
        replaced = true;
        std::optional<std::string> fallback =
            GetProfileDescriptionOrDefault(classCode, file ? std::optional<std::string_view>(*file) : std::nullopt);
        if (fallback) description = std::move(*fallback);
        return true;
    };
    auto simulationClass = [](int mode) { return mode == kColourModeCmyk ? kSpaceCmyk : kSpaceRgb; };

    LayoutTexts& t = mLayout->Texts();
    replace(t.rgbSourceProfile, kSpaceRgb, std::nullopt);
    const int proof = mLayout->GetColorProof();
    replace(t.simulationProfile, simulationClass(proof), GetDefaultProfileNameForMode(proof));
    replace(t.monitorProfile, kClassMonitor, std::nullopt);
    // A printer profile that is not installed takes the monitor default as well.
    replace(t.printerProfile, kClassMonitor, std::nullopt);

    for (CLayoutObj* item = mLayout->GetFirstItem(); item; item = item->NextItem()) {
        if (item->GetKind() != kKindImage) continue;
        auto& image = static_cast<CImageObj&>(*item);
        if (image.GetColorSpace() == kSpaceGray) continue;
        bool changed = false;
        if (!SourceProfileAvailable(image)) {
            replaced = changed = true;
            const uint32_t space = image.GetColorSpace() == kSpaceCmyk ? kSpaceCmyk : kSpaceRgb;
            if (std::optional<std::string> d = GetProfileDescriptionOrDefault(space, std::nullopt))
                image.SetSourceProfile(std::move(*d));
        }
        std::string simulation = image.GetSimulationProfile();
        const int mode = image.GetColorProof();
        if (replace(simulation, simulationClass(mode), GetDefaultProfileNameForMode(mode))) {
            image.SetSimulationProfile(std::move(simulation));
            changed = true;
        }
        if (changed) BuildImageLabelText(image);
    }
    if (replaced &&
        Messages().Show(IDS_DEFAULT_PROFILES_USED, {}, Icon::Warning, Buttons::YesNo) != kIdYes)
        mDiscard = true;
}

LayoutXmlReader::Walk LayoutXmlReader::Parse() {
    EnsureXmlParser();
    std::unique_ptr<xmlParserCtxt, ParserContextFree> context(xmlNewParserCtxt());
    if (!context) return Walk::Unreadable;
    // No network, no entity substitution, no DTD, and no libxml2 output on stderr. The
    // indentation between elements is not kept (values are never blank-only: the writer
    // quotes texts) and short texts live inside their nodes: half the nodes, no copies.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS |
                        XML_PARSE_COMPACT;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlCtxtReadFile(context.get(), mDocumentPath.c_str(), nullptr, options));
    if (!doc || !context->wellFormed) return Walk::Unreadable;
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || NameOf(root) != kLayoutXmlNames[kXmlRoot]) return Walk::Unreadable;
    bool sawLayout = false;
    for (const xmlNode* n = root->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const std::string_view name = NameOf(n);
        Walk walk = Walk::Ok;
        if (name == kLayoutXmlNames[kXmlHeader]) {
            if (!ReadHeaderXml(n)) walk = Walk::Unreadable;
        } else if (name == kLayoutXmlNames[kXmlLayout]) {
            walk = ReadLayoutXmlElements(n);
            sawLayout = true;
        } else if (name == kLayoutXmlNames[kXmlObject]) {
            walk = ReadObjectsXml(n);
        } else {
            walk = Walk::Unreadable;
        }
        if (walk != Walk::Ok) return walk;
    }
    // A document without its layout settings is not a layout file.
    return sawLayout ? Walk::Ok : Walk::Unreadable;
}

LayoutLoad LayoutXmlReader::Load() {
    const Walk walk = Parse();
    if (walk != Walk::Ok) {
        // The layout open before stays, and so does its summary.
        DeleteRecord();
        return {walk == Walk::Cancelled ? LayoutLoadStatus::Cancelled : LayoutLoadStatus::Unreadable, nullptr};
    }
    // A layout the user already threw away needs no profile question.
    if (!mDiscard) ReplaceMissingProfiles();
    if (!mDiscard) {
        TemplateInfo summary;
        if (ReadTemplateSummary(mDocumentPath, summary)) SetCurrentTemplateInfo(summary);
        else CurrentTemplateInfo().RemoveAll();
    }
    StatusBar().UpdateStatusText(kStatusReady);
    if (mDiscard) {
        DeleteRecord();
        return {LayoutLoadStatus::Declined, nullptr};
    }
    const int32_t size = mLayout->HeaderFooterFont().size;
    mLayout->SetHeaderFooterLineHeightPercent(NearestLineSpacingPercent(mLayout->GetHeaderFooterLineHeight(), size));
    return {LayoutLoadStatus::Loaded, std::move(mOwned)};
}

}  // namespace

int16_t NearestLineSpacingPercent(int32_t lineHeight, int32_t fontSize) {
    static constexpr int16_t kSteps[] = {110, 125, 150, 175, 200, 225, 250};
    const int64_t size = fontSize <= 0 ? 1 : fontSize;
    const int64_t percent = (int64_t(lineHeight) * 100 + size / 2) / size;
    int16_t best = kSteps[0];
    for (int16_t step : kSteps)
        if (std::llabs(step - percent) < std::llabs(best - percent)) best = step;
    return best;
}

std::unique_ptr<CLayoutSetting> NewLayoutFromDefaults() {
    auto record = std::make_unique<CLayoutSetting>(true);
    if (ApplicationState* app = HostService<ApplicationState>()) {
        const CLayoutSetting& defaults = app->DefaultLayoutSetting();
        // Local settings too: the new layout starts as the application's.
        record->CopyFrom(defaults, false, false, false);
        record->CopyDeep(defaults, false, false, false);
    }
    if (!record->GetBaseImage()) record->SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
    if (!record->GetViewState()) record->RenewViewState();
    record->SetType(kRecordTypeLayout);
    return record;
}

LayoutLoad LoadLayoutXml(const fs::path& path, CLayoutSetting* target) {
    if (path.empty()) return {};
    return LayoutXmlReader(path, target).Load();
}

}  // namespace vx
