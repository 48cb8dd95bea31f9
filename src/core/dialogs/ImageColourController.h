#pragma once
#include <string>
#include <vector>

#include "dialogs/ColourDialogValues.h"
#include "dialogs/ProfileLists.h"

namespace vx {

class CImageObj;
class CLayoutSetting;
struct OptionEntry;

/// The image colour dialog without its window: the colour source and simulation of
/// every selected image at once, shown for the dialog's current image.
class ImageColourController {
public:
    /// The source radios: "Zelcast/Exif Print", "Exif Print", "Eingebettetes Profil",
    /// "RGB-Profil".
    enum class Source { Zel, Exif, Embedded, Rgb };

    struct Values {
        Source source = Source::Rgb;
        int sourceProfile = 0;
        int sourceIntent = 0;
        SimulationChoice simulation;
    };

    /// What the controls show besides their values (UpdateControlState).
    struct ControlState {
        bool zelEnabled = true;
        bool exifEnabled = true;
        bool embeddedEnabled = true;
        bool sourceListEnabled = true;  // profile and intent of "RGB-Profil"
        bool rgbSimulationEnabled = false;
        bool cmykSimulationEnabled = false;
        bool zelPicture = false;
        bool exifPicture = false;
        bool okEnabled = true;
    };

    /// Fills the lists and loads the values from the current image: the layout's current
    /// item when it is a selected image, else its first selected image.
    explicit ImageColourController(CLayoutSetting& layout, const std::vector<OptionEntry>* mediaProfiles = nullptr);

    /// The image the values were loaded from; null without a selected image.
    CImageObj* CurrentImage() const { return mCurrent; }

    const InputProfileLists& Lists() const { return mLists; }
    Values& GetValues() { return mValues; }
    const Values& GetValues() const { return mValues; }
    /// The text beside "Eingebettetes Profil": " : " and the embedded profile's
    /// description while that source is chosen, else empty.
    const std::string& EmbeddedText() const { return mEmbeddedText; }
    ControlState State() const;

    /// A source radio clicked: the intent shows "Von Profil unterstützt" for the three
    /// profile-less sources and "Wahrnehmend" for "RGB-Profil".
    void ChooseSource(Source source);
    void ChooseSimulation(Simulation mode) { mValues.simulation.mode = mode; }
    /// "Seitenstandardeinstellungen": the layout's input colour defaults as they apply to
    /// the current image.
    void LoadLayoutDefaults();

    const std::string& MonitorProfileText() const { return mMonitorText; }
    const std::string& PrinterProfileText() const { return mPrinterText; }
    int PrinterIcon() const { return mPrinterIcon; }

    /// OK: one undo step (29), then every selected image takes the values; each image
    /// with the embedded source takes its own profile's description. The layout is
    /// marked modified. False when OK is disabled or there is no current image.
    bool Apply();

    /// The first selected image item that is greyscale, or null (the opener refuses).
    static const CImageObj* FindGreySelectedImage(const CLayoutSetting& layout);

private:
    void SetEmbeddedText();

    CLayoutSetting& mLayout;
    CImageObj* mCurrent = nullptr;
    InputProfileLists mLists;
    Values mValues;
    std::string mEmbeddedText;
    std::string mMonitorText;
    std::string mPrinterText;
    int mPrinterIcon = 346;
};

}  // namespace vx
