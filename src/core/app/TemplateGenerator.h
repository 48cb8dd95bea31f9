#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/SettingsChangeRecord.h"

namespace vx {

class CLayoutSetting;

/// One placeholder picture of the shipped templates: a grey JPEG of the given size,
/// at a path below the templates folder ("Karte_10x15/Platzhalter.jpg").
struct PlaceholderPicture {
    std::filesystem::path file;
    int width = 0;
    int height = 0;
    int grey = 0;
};

/// placeholders.ini: one section per picture, named by its path below the templates
/// folder, with "Width", "Height" (pixels, 1 to 4000) and "Grey" (0 to 255). nullopt
/// with the reason in error for a list that cannot be used.
std::optional<std::vector<PlaceholderPicture>> ReadPlaceholderList(const std::filesystem::path& ini,
                                                                   std::string& error);

/// Writes the picture as a JPEG at path (folders made); a thin darker frame shows its
/// edges on the page. False when it cannot be written.
bool WritePlaceholderPicture(const std::filesystem::path& path, const PlaceholderPicture& picture);

/// Writes a queue file into folder with one file queue per shipped printer model,
/// each named like its model and printing into output.
bool WriteModelQueueFile(const std::filesystem::path& folder, const std::filesystem::path& output);

/// The program's core as the template generator needs it, without windows: the
/// application object on the user folder of the environment, the host bindings, the
/// temporary folder, the printers of the queue file and a layout view that draws off
/// screen. One per process; the environment's folders must be private to the run.
class TemplateGenerator {
public:
    TemplateGenerator();
    ~TemplateGenerator();
    TemplateGenerator(const TemplateGenerator&) = delete;
    TemplateGenerator& operator=(const TemplateGenerator&) = delete;

    /// False (with the reason) when start-up failed.
    bool Ready(std::string& error) const;

    /// Makes the shipped template from its source: loads source from the folder of
    /// target (where its pictures must already be), reconciles it with a printer of
    /// its model (anything the model refuses is an error), draws page 1 as its preview
    /// and writes the layout file: the writer's elements with the source's header and
    /// every comment of the source. Every element the source names must come out with
    /// the same value. The file's bytes, or nullopt with the reason in error.
    std::optional<std::string> Generate(const std::filesystem::path& source, const std::filesystem::path& target,
                                        std::string& error);

    /// Reconciles a loaded layout with the printer named like its model, twice: the first
    /// pass brings the printer to the layout, the second's record is returned (bytes 0 to
    /// 9 all 0 when printer and layout agree). nullopt with the reason when the driver
    /// fails or the model replaces a paper, source, medium, ink, orientation or area
    /// setting of the layout.
    std::optional<SettingsChangeRecord> Reconcile(CLayoutSetting& layout, bool forceGeometry, std::string& error);

    /// Shows layout in the off-screen view as the window of a new document does: its
    /// first page fitted into an 800 x 600 window. Null shows nothing.
    void ShowLayout(CLayoutSetting* layout);

private:
    struct Parts;
    std::unique_ptr<Parts> mParts;
};

}  // namespace vx
