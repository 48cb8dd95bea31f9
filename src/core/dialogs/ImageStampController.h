#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "dialogs/DialogCheck.h"

namespace vx {

class CImageObj;
class CLayoutSetting;

/// While non-zero, a stamp's print size is not held to 1 to 30000 units a side.
inline int ImageSizeCheckSwitch = 0;

/// Results of building a stamp: 1 done, 0 the file is no picture that opens, 3 its
/// pixel or print size is out of range, 5 the pictures would take too much memory.
inline constexpr int kStampBuilt = 1;
inline constexpr int kStampUnsupported = 0;
inline constexpr int kStampSizeOutOfRange = 3;
inline constexpr int kStampOutOfMemory = 5;

/// Shows the message of a failed build (10526, 10444 or 10413) with the error icon.
void ShowStampBuildFailure(int result);

/// The image stamp dialog without its window: the layout's stamp settings as the
/// controls show them, their rules, and the building of the stamp item from a file.
class ImageStampController {
public:
    static constexpr int kIdX = 1033;
    static constexpr int kIdY = 1074;
    static constexpr int kIdWidth = 1075;
    static constexpr int kIdHeight = 3862;
    static constexpr int kIconKept = 297;
    static constexpr int kIconFree = 299;

    /// A numeric field's range in its unit.
    struct Range {
        double minimum = 0;
        double maximum = 0;
        int decimals = 0;
        int maxChars = 0;
    };

    explicit ImageStampController(CLayoutSetting* layout = nullptr) : mLayout(layout) {}
    void SetLayout(CLayoutSetting* layout) { mLayout = layout; }

    /// Takes the layout's stamp settings (OnInitDialog); shows 10525 when a custom stamp
    /// that is on has a zero side.
    void Load();

    /// Mode 1 tries the file for the dialog: on success the dialog takes its size.
    /// Mode 0 builds the layout's stamp item from it: the new item is made aside and
    /// replaces the old one only on success. The pixel and memory limits hold in both.
    int BuildStamp(const std::filesystem::path& path, int mode);

    // Values (units of 1/360 inch) and choices.
    bool On() const { return mOn; }
    bool Custom() const { return mCustom; }
    bool Keep() const { return mKeep; }
    const std::string& Path() const { return mPath; }
    int32_t X() const { return mX; }
    int32_t Y() const { return mY; }
    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    double Ratio() const { return mRatio; }
    int PositionUnit() const { return mPositionUnit; }
    int SizeUnit() const { return mSizeUnit; }

    std::string XText() const;
    std::string YText() const;
    std::string WidthText() const;
    std::string HeightText() const;
    Range PositionRange() const;
    Range WidthRange() const;
    Range HeightRange() const;

    // Enabling.
    bool SettingsLevelEnabled() const { return mOn && !mPath.empty(); }
    bool CustomLevelEnabled() const { return SettingsLevelEnabled() && mCustom; }
    bool OkEnabled() const { return !mOn || !mPath.empty(); }
    int ChainIcon() const { return mOn && mCustom && mKeep ? kIconKept : kIconFree; }

    // Handlers.
    void SetPositionUnit(int unit) { mPositionUnit = unit == 1 ? 1 : 2; }
    void SetSizeUnit(int unit) { mSizeUnit = unit == 1 ? 1 : 2; }
    void PositionEdited(std::string_view xText, std::string_view yText);
    /// Which size texts a size edit rewrote: the following side's, and with a clamp at
    /// 15 m the edited side's too.
    struct SizeFollow {
        bool widthChanged = false;
        bool heightChanged = false;
    };
    SizeFollow SizeEdited(bool widthEdited, std::string_view widthText, std::string_view heightText);
    /// The text a following side shows: "%.2f" mm or "%.3f" inch.
    std::string FollowText(int32_t units) const;
    /// "Ein" / "Aus"; widthEmpty tells whether either size field is empty.
    void SetOn(bool on, bool sizeFieldEmpty = false);
    void SetCustom(bool custom);
    void SetKeep(bool keep);
    /// "Auswählen": tries the file (mode 1); on failure shows why and puts the previous
    /// file back (tried again). Returns the result for the chosen file.
    int ChooseFile(const std::filesystem::path& path);

    /// OK: refuses a custom size below 1 mm with the range message, and a named file
    /// that is missing with 10417, and a stamp that cannot be built with its message;
    /// each refusal writes nothing. Otherwise takes an undo step (20) when the stamp is
    /// on, writes the settings and puts the new stamp in.
    DialogCheck Apply();

private:
    /// A stamp item for path, sized, outside every list, with its picture when
    /// keepPicture (else the picture is only decoded); the result code says why there
    /// is none.
    std::unique_ptr<CImageObj> MakeStampItem(const std::filesystem::path& path, int& result,
                                             bool keepPicture) const;
    void ZeroSideCheck();

    CLayoutSetting* mLayout = nullptr;
    bool mOn = false;
    bool mCustom = false;
    bool mKeep = false;
    std::string mPath;
    int32_t mX = 0, mY = 0, mWidth = 0, mHeight = 0;
    double mRatio = 1.0;
    int mPositionUnit = 1;
    int mSizeUnit = 1;
};

}  // namespace vx
