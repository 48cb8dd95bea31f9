#include "app/TemplateGenerator.h"

#include <fstream>
#include <iterator>
#include <set>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "app/AppCore.h"
#include "app/StartupBindings.h"
#include "document/LayoutPaths.h"
#include "document/LayoutXmlReader.h"
#include "document/LayoutXmlWriter.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "imaging/JpegEncoder.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "platform/spool/QueueFile.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Folders.h"
#include "platform/system/IniFile.h"
#include "platform/system/Numbers.h"
#include "platform/system/Ports.h"
#include "printing/CPrinterManager.h"
#include "templates/XmlText.h"
#include "view/CGPView.h"
#include "view/LayoutViewCore.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const char* const kModels[] = {"TEVRA Proof 44", "TEVRA Proof 24", "TEVRA Proof A3"};

std::string_view NameOf(const xmlNode* n) { return reinterpret_cast<const char*>(n->name); }

std::string ContentOf(const xmlNode* n) {
    xmlChar* text = xmlNodeGetContent(n);
    std::string s = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return s;
}

const xmlNode* Child(const xmlNode* parent, std::string_view name) {
    for (const xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE && NameOf(n) == name) return n;
    return nullptr;
}

std::vector<xmlNode*> Elements(const xmlNode* parent) {
    std::vector<xmlNode*> v;
    for (xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE) v.push_back(n);
    return v;
}

bool IsComment(const xmlNode* n) { return NameOf(n).starts_with("Comment"); }

/// Every element of source (a header, layout or item element) must be in written with
/// the same text; comments are checked apart.
bool SameValues(const xmlNode* source, const xmlNode* written, const std::string& where, std::string& error) {
    for (const xmlNode* s : Elements(source)) {
        if (IsComment(s)) continue;
        const xmlNode* w = Child(written, NameOf(s));
        if (!w) {
            error = where + ": " + std::string(NameOf(s)) + " is not written";
            return false;
        }
        if (ContentOf(s) != ContentOf(w)) {
            error = where + ": " + std::string(NameOf(s)) + " is \"" + ContentOf(s) + "\" but comes out as \"" +
                    ContentOf(w) + "\"";
            return false;
        }
    }
    return true;
}

/// Answers every question with No and keeps what was asked: a template needs none.
struct RefusingMessages final : MessagePort {
    std::vector<int> shown;
    int Show(int stringId, const Args&, Icon, Buttons buttons) override {
        shown.push_back(stringId);
        return buttons == Buttons::Ok ? kIdOk : buttons == Buttons::OkCancel ? kIdCancel : kIdNo;
    }
};

/// A window of a fixed size at 96 pixels per inch that never shows anything.
struct OffscreenWindow final : ViewWindowPort {
    PixelPoint ClientSize() const override { return {800, 600}; }
    PixelPoint PixelsPerInch() const override { return {96, 96}; }
    FitMetrics Metrics() const override { return {2, 4, 17}; }
    void SetRedraw(bool) override {}
    void InvalidateClient(const PixelRect*) override {}
    void InvalidateRulerBands(const PixelRect&, const PixelRect&) override {}
    void PaintNow() override {}
    void ShowScrollBars(const ScrollSizes&, PixelPoint) override {}
    void Post(std::function<void()>) override {}
    std::optional<int> AskPageNumber(int, int) override { return std::nullopt; }
};

/// The shell with the one off-screen view.
struct OneViewShell final : Shell {
    LayoutView* view = nullptr;
    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view; }
    LayoutView* GetLayoutView() override { return view; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return nullptr; }
    bool IsViewCreating() override { return false; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}
};

struct XmlDocFreer {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};

}  // namespace

std::optional<std::vector<PlaceholderPicture>> ReadPlaceholderList(const fs::path& ini, std::string& error) {
    IniFile file;
    if (!file.Load(ini)) {
        error = ini.string() + " cannot be read";
        return std::nullopt;
    }
    std::vector<PlaceholderPicture> list;
    for (const std::string& section : file.Sections()) {
        if (section.empty()) continue;
        PlaceholderPicture p;
        p.file = fs::path(section).lexically_normal();
        if (p.file.is_absolute() || p.file.empty() || *p.file.begin() == "..") {
            error = "[" + section + "] is not a path below the templates folder";
            return std::nullopt;
        }
        const auto number = [&](const char* key, long long low, long long high, int& out) {
            const std::optional<std::string> text = file.Get(section, key);
            size_t used = 0;
            const std::optional<long long> v = text ? ParseLong(*text, &used) : std::nullopt;
            if (!v || used != text->size() || *v < low || *v > high) {
                error = "[" + section + "] needs " + key + " from " + std::to_string(low) + " to " +
                        std::to_string(high);
                return false;
            }
            out = int(*v);
            return true;
        };
        if (!number("Width", 1, 4000, p.width) || !number("Height", 1, 4000, p.height) ||
            !number("Grey", 0, 255, p.grey))
            return std::nullopt;
        list.push_back(std::move(p));
    }
    return list;
}

bool WritePlaceholderPicture(const fs::path& path, const PlaceholderPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    const size_t w = size_t(picture.width);
    const size_t h = size_t(picture.height);
    const uint8_t fill = uint8_t(picture.grey);
    const uint8_t edge = uint8_t(picture.grey > 60 ? picture.grey - 60 : picture.grey + 60);
    const size_t frame = std::max<size_t>(1, std::min(w, h) / 50);
    std::vector<uint8_t> pixels(w * h * 4);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            const bool border = x < frame || y < frame || x >= w - frame || y >= h - frame;
            uint8_t* p = &pixels[(y * w + x) * 4];
            p[0] = p[1] = p[2] = border ? edge : fill;
            p[3] = 255;
        }
    std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(picture.width, picture.height, pixels.data());
    if (!jpeg) return false;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    return bool(WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(jpeg->data()), jpeg->size())));
}

bool WriteModelQueueFile(const fs::path& folder, const fs::path& output) {
    IniFile file;
    for (const char* model : kModels) {
        file.Set(model, "Model", model);
        file.Set(model, "Output", output.string());
    }
    file.Set(kModels[0], "Default", "1");
    std::error_code ec;
    fs::create_directories(folder, ec);
    return bool(file.Save(folder / QueueFile::kFileName));
}

struct TemplateGenerator::Parts {
    static HostBindingPorts Ports(AppCore& app, Shell& shell) {
        HostBindingPorts ports;
        ports.application = &app;
        ports.shell = &shell;
        return ports;
    }

    RefusingMessages messages;
    MessagePort* previousMessages = nullptr;
    AppCore app{UserFolder()};
    OneViewShell shell;
    StartupBindings bindings{Ports(app, shell)};
    OffscreenWindow window;
    CGPView view;
    LayoutViewCore core{view, window};
    CPrinterManager* printers = nullptr;
    std::string failure;

    Parts() {
        previousMessages = SetMessagePort(&messages);
        app.SetScreenWidth(1280);
        app.SetSystemLanguage(7);
        if (!CreateTempFolder()) {
            failure = "the temporary folder cannot be made";
            return;
        }
        printers = CPrinterManager::GetInstance();
        if (!printers) {
            failure = "no printer manager";
            return;
        }
        printers->ClearPrinterList();
        if (printers->EnumSupportedPrinters() != 1) {
            failure = "no supported printer in the queue file";
            return;
        }
        bindings.BindPrinterManager(*printers);
        if (!app.InitAppDefaults()) failure = "the application defaults cannot be made";
        shell.view = &core;
    }
    ~Parts() {
        core.OnInitialUpdate(nullptr);
        if (printers) printers->BindLayout(nullptr);
        CPrinterManager::DestroyInstance();
        SetMessagePort(previousMessages);
        RemoveTempFolder();
    }
};

TemplateGenerator::TemplateGenerator() : mParts(std::make_unique<Parts>()) {}

TemplateGenerator::~TemplateGenerator() = default;

bool TemplateGenerator::Ready(std::string& error) const {
    error = mParts->failure;
    return error.empty();
}

std::optional<SettingsChangeRecord> TemplateGenerator::Reconcile(CLayoutSetting& layout, bool forceGeometry,
                                                                 std::string& error) {
    CPrinterManager& printers = *mParts->printers;
    const std::string model = layout.Texts().printerModel;
    bool listed = false;
    for (const PrinterEntry& p : printers.Printers()) listed |= p.printer == model && p.model == model;
    if (!listed) {
        error = "no printer of the model \"" + model + "\"";
        return std::nullopt;
    }
    // What the template asks of the printer; the model must take all of it.
    const auto settings = [](const CLayoutSetting& l) {
        const LayoutTexts& t = l.Texts();
        return std::vector<std::pair<const char*, std::string>>{
            {"PaperSourceID", std::to_string(l.GetDefaultSource())},
            {"PaperSource", t.paperSourceName},
            {"PaperSizeID", std::to_string(l.GetPaperSize())},
            {"PaperSize", t.paperSizeName},
            {"Orientation", std::to_string(l.GetOrientation())},
            {"MediaTypeID", std::to_string(l.GetMediaType())},
            {"MediaType", t.mediaTypeName},
            {"Color", std::to_string(l.GetColor())},
            {"PrintableArea", std::to_string(l.GetPrintableArea())},
            {"Centerd", std::to_string(l.GetCentered())},
            {"HighSpeed", std::to_string(l.GetHighSpeed())},
        };
    };
    const auto asked = settings(layout);
    SettingsChangeRecord record;
    try {
        printers.BindLayout(nullptr);
        if (printers.CurrentPrinter() != model && printers.SelectPrinter(model, -1) != 1) {
            error = "the printer \"" + model + "\" cannot be selected";
            return std::nullopt;
        }
        printers.BindLayout(&layout);
        // The first pass brings the printer to the template; the second finds what the
        // model would not take.
        const bool synced = printers.SyncLayoutAndDriver(&record, forceGeometry, 0, false, true) &&
                            printers.SyncLayoutAndDriver(&record, false, 0, false, true);
        printers.BindLayout(nullptr);
        if (!synced) {
            error = "the driver of \"" + model + "\" refuses the layout";
            return std::nullopt;
        }
    } catch (const std::exception&) {
        printers.BindLayout(nullptr);
        error = "the printer \"" + model + "\" cannot be opened";
        return std::nullopt;
    }
    const auto kept = settings(layout);
    for (size_t i = 0; i < asked.size(); ++i)
        if (asked[i] != kept[i]) {
            error = std::string("its model changes ") + asked[i].first + " from \"" + asked[i].second + "\" to \"" +
                    kept[i].second + "\"";
            return std::nullopt;
        }
    return record;
}

void TemplateGenerator::ShowLayout(CLayoutSetting* layout) {
    mParts->app.ActiveLayoutSlot() = layout;
    mParts->core.OnInitialUpdate(layout);
    // A new document's window starts on the first page; this one may have shown another.
    if (layout) mParts->core.SetCurrentPage(0);
}

std::optional<std::string> TemplateGenerator::Generate(const fs::path& source, const fs::path& target,
                                                      std::string& error) {
    if (!Ready(error)) return std::nullopt;
    Parts& p = *mParts;
    EnsureXmlParser();
    std::unique_ptr<xmlDoc, XmlDocFreer> original(
        xmlReadFile(source.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS));
    const xmlNode* root = original ? xmlDocGetRootElement(original.get()) : nullptr;
    const xmlNode* header = Child(root, "header");
    const xmlNode* layoutElement = Child(root, "layout");
    if (!header || !layoutElement) {
        error = "not a layout file with header and layout";
        return std::nullopt;
    }
    if (Child(layoutElement, "Preview")) {
        error = "a source has no Preview: the generator draws it";
        return std::nullopt;
    }
    const xmlNode* objects = Child(root, "object");
    size_t sourceImages = 0;
    for (const xmlNode* n : Elements(objects)) sourceImages += NameOf(n) == "image";

    // The source is read where the template goes, so that its pictures are found.
    std::ifstream in(source, std::ios::binary);
    const std::string sourceBytes{std::istreambuf_iterator<char>(in), {}};
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (!in || !WriteFileAtomically(target, sourceBytes)) {
        error = "cannot copy the source to " + target.string();
        return std::nullopt;
    }
    p.messages.shown.clear();
    LayoutLoad load = LoadLayoutXml(target);
    if (!load.Ok() || !load.layout) {
        error = "does not load";
        if (!p.messages.shown.empty()) error += " (message " + std::to_string(p.messages.shown.front()) + ")";
        return std::nullopt;
    }
    CLayoutSetting& layout = *load.layout;
    struct Release {
        Parts& p;
        std::unique_ptr<CLayoutSetting>& layout;
        ~Release() {
            p.core.OnInitialUpdate(nullptr);
            p.app.DeleteLayoutRecord(std::move(layout), &p.app.ActiveLayoutSlot());
        }
    } release{p, load.layout};
    if (!p.messages.shown.empty()) {
        error = "the load asks the user (message " + std::to_string(p.messages.shown.front()) + ")";
        return std::nullopt;
    }
    size_t images = 0;
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem())
        images += item->GetKind() == kKindImage;
    if (images != sourceImages) {
        error = std::to_string(sourceImages - images) + " of its pictures are missing";
        return std::nullopt;
    }

    std::optional<SettingsChangeRecord> record = Reconcile(layout, true, error);
    if (!record) return std::nullopt;
    for (size_t i = 0; i < SettingsChangeRecord::kGeometry; ++i)
        if ((*record)[i]) {
            error = "its model keeps changing setting " + std::to_string(i) + " of the template";
            return std::nullopt;
        }

    layout.SetTemplate(1);
    layout.SetSaveTemplateWithImages(images > 0 ? 1 : 0);
    layout.Texts().documentPath = AbsolutePathText(target);
    ShowLayout(&layout);

    LayoutXmlWriteOptions options;
    options.documentPath = AbsolutePathText(target);
    options.language = 7;
    const std::string versionText = ContentOf(Child(header, "Version"));
    size_t used = 0;
    const std::optional<long long> version = ParseLong(versionText, &used);
    if (!version || used != versionText.size() || *version < 0 || *version > 32767) {
        error = "header: Version \"" + versionText + "\" is not a version";
        return std::nullopt;
    }
    options.version = int16_t(*version);
    options.platform = ContentOf(Child(header, "Platform")) == "Mac" ? 0 : 1;
    options.osVersion = ContentOf(Child(header, "OSVersion"));
    XmlDocument written = BuildLayoutXml(layout, options);
    if (!written) {
        error = "a value cannot be written";
        return std::nullopt;
    }
    xmlNode* outRoot = xmlDocGetRootElement(written.get());
    xmlNode* outLayout = const_cast<xmlNode*>(Child(outRoot, "layout"));
    xmlNode* preview = const_cast<xmlNode*>(Child(outLayout, "Preview"));
    if (!preview || ContentOf(preview).empty()) {
        error = "its preview cannot be drawn";
        return std::nullopt;
    }
    // The writer keeps the comment of one language; the template keeps all of them,
    // written as the writer writes that one.
    for (xmlNode* n : Elements(outLayout))
        if (IsComment(n)) {
            const xmlNode* s = Child(layoutElement, NameOf(n));
            if (!s || ContentOf(s) != ContentOf(n)) {
                error = "layout: " + std::string(NameOf(n)) + " comes out as \"" + ContentOf(n) + "\"";
                return std::nullopt;
            }
            xmlUnlinkNode(n);
            xmlFreeNode(n);
        }
    for (const xmlNode* n : Elements(layoutElement))
        if (IsComment(n)) xmlAddPrevSibling(preview, xmlDocCopyNode(const_cast<xmlNode*>(n), written.get(), 1));

    if (!SameValues(header, Child(outRoot, "header"), "header", error) ||
        !SameValues(layoutElement, outLayout, "layout", error))
        return std::nullopt;
    const std::vector<xmlNode*> sourceItems = Elements(objects);
    const std::vector<xmlNode*> writtenItems = Elements(Child(outRoot, "object"));
    if (sourceItems.size() != writtenItems.size()) {
        error = "it has " + std::to_string(sourceItems.size()) + " items but " + std::to_string(writtenItems.size()) +
                " are written";
        return std::nullopt;
    }
    for (size_t i = 0; i < sourceItems.size(); ++i) {
        const std::string where = "item " + std::to_string(i + 1);
        if (NameOf(sourceItems[i]) != NameOf(writtenItems[i])) {
            error = where + " changes its kind";
            return std::nullopt;
        }
        if (!SameValues(sourceItems[i], writtenItems[i], where, error)) return std::nullopt;
    }
    std::optional<std::string> bytes = DumpXmlDocument(written.get());
    if (!bytes) error = "the file cannot be made";
    return bytes;
}

}  // namespace vx
