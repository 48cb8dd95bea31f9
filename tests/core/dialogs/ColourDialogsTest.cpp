#include <gtest/gtest.h>

#include "../imaging/JpegFixtures.h"
#include "DialogFixtures.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "colourmanagement/ProfileChain.h"
#include "dialogs/ColourDialogOpeners.h"
#include "dialogs/ImageColourController.h"
#include "dialogs/InputColourDefaultsController.h"
#include "dialogs/PrinterProfileText.h"
#include "dialogs/ProfileLists.h"
#include "model/CTextObj.h"
#include "model/ImageAdding.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "printing/PrinterEntries.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::AddImage;

std::vector<std::string> Files(const ProfileListModel& list) {
    std::vector<std::string> names;
    for (const ProfileEntry& e : list.Entries()) names.push_back(e.fileName);
    return names;
}

class ProfileListsTest : public testing::Test {
protected:
    test::ProfileFolder folder;
};

TEST_F(ProfileListsTest, FillByClassAndSpaceWithTheDefaultsFirst) {
    InputProfileLists lists;
    FillInputProfileLists(lists);
    EXPECT_EQ(Files(lists.source), (std::vector<std::string>{"sRGB Color Space Profile.ICM", "Drucker.icm", "Anzeige.icc",
                                                             "Zwei-A.icc", "Zwei-B.icc"}));
    EXPECT_EQ(lists.source.At(0).description, test::kSrgbDescription);
    EXPECT_EQ(Files(lists.rgbSimulation), (std::vector<std::string>{"Drucker.icm"}));
    EXPECT_EQ(Files(lists.cmykSimulation), (std::vector<std::string>{"Marlo_CMYK.icc", "Offset.icc"}));
    EXPECT_EQ(IntentListTexts(), (std::vector<std::string>{"Wahrnehmend", "Sättigung", "Relativ farbmetrisch",
                                                           "Absolut farbmetrisch", "Von Profil unterstützt"}));
}

TEST_F(ProfileListsTest, SearchesTakeTheFirstMatchOrTheStartEntry) {
    InputProfileLists lists;
    FillInputProfileLists(lists);
    EXPECT_EQ(FindProfileComboItem(kSpaceRgb, lists.source, ""), 0);
    EXPECT_EQ(FindProfileComboItem(kSpaceRgb, lists.source, "Unbekannt"), 0);
    EXPECT_EQ(FindProfileComboItem(kSpaceRgb, lists.source, "Doppelt"), 3);
    EXPECT_EQ(FindProfileComboItem(kSpaceRgb, lists.source, "doppelt"), 0);  // case counts
    EXPECT_EQ(FindProfileComboItem(kSpaceRgb, lists.source, "Drucker RGB"), 1);

    ProfileListModel printer(true);
    printer.Add(LoadString(IDS_RECOMMENDED_PROFILE), "sRGB Color Space Profile.ICM");
    printer.Add("Drucker RGB", "Drucker.icm");
    printer.Add(test::kSrgbDescription, "sRGB Color Space Profile.ICM");
    EXPECT_EQ(FindProfileComboItem(kClassPrinter, printer, ""), 1);
    EXPECT_EQ(FindProfileComboItem(kClassPrinter, printer, "Unbekannt"), 1);
    EXPECT_EQ(FindProfileComboItem(kClassPrinter, printer, test::kSrgbDescription), 2);

    EXPECT_EQ(GetComboProfileFileName(lists.source, 1), "Drucker.icm");
    EXPECT_EQ(GetComboProfileFileName(lists.source, 99), "");
    EXPECT_EQ(GetComboProfileDescription(lists.source, 1), "Drucker RGB");
    std::string text;
    EXPECT_TRUE(ReadProfileDescription("Offset.icc", text));
    EXPECT_EQ(text, "Offset CMYK");
    EXPECT_FALSE(ReadProfileDescription("Kaputt.icc", text));
    EXPECT_EQ(text, "");
}

class ColourDialogsTest : public testing::Test {
protected:
    test::ProfileFolder folder;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    test::InstalledApplicationState app;
    UndoStore undo;
    CLayoutSetting layout{true};
    std::vector<OptionEntry> media{{7, "Drucker.icm"}};

    void SetUp() override {
        app.undo = &undo;
        layout.Texts().rgbSourceProfile = "Anzeige RGB";
        layout.SetColorIntentRGB(3);
    }
};

TEST_F(ColourDialogsTest, InputDefaultsRoundTripEverySimulation) {
    struct Case { int proof; const char* profile; int intent; };
    for (const Case& c : {Case{0, "Drucker RGB", 2}, Case{1, "Offset CMYK", 4}, Case{2, "Drucker RGB", 3}}) {
        SCOPED_TRACE(c.proof);
        layout.SetColorProof(int16_t(c.proof));
        layout.Texts().simulationProfile = c.profile;
        layout.SetColorIntentSimulation(int16_t(c.intent));
        layout.SetZel(1);
        InputColourDefaultsController dialog(layout, &media);
        EXPECT_EQ(dialog.RgbSimulationEnabled(), c.proof == 2);
        EXPECT_EQ(dialog.CmykSimulationEnabled(), c.proof == 1);
        EXPECT_EQ(dialog.GetValues().sourceProfile, 2);
        layout.SetDirty(0);
        dialog.Apply();
        EXPECT_EQ(layout.GetZel(), 1);
        EXPECT_EQ(layout.Texts().rgbSourceProfile, "Anzeige RGB");
        EXPECT_EQ(layout.GetColorIntentRGB(), 3);
        EXPECT_EQ(layout.GetColorProof(), c.proof);
        EXPECT_EQ(layout.Texts().simulationProfile, c.profile);  // "Aus" keeps them too
        EXPECT_EQ(layout.GetColorIntentSimulation(), c.intent);
        EXPECT_EQ(layout.GetDirty(), 1);
    }
}

TEST_F(ColourDialogsTest, InputDefaultsShareOneSimulationFieldAndMendBadIntents) {
    layout.SetColorProof(2);
    layout.Texts().simulationProfile = "Drucker RGB";
    layout.SetColorIntentSimulation(9);  // outside 1..5
    layout.SetColorIntentRGB(0);
    InputColourDefaultsController dialog(layout, &media);
    EXPECT_EQ(dialog.GetValues().simulation.rgbIntent, 0);
    EXPECT_EQ(dialog.GetValues().sourceIntent, 0);
    dialog.GetValues().simulation.mode = Simulation::Cmyk;
    dialog.GetValues().simulation.cmykProfile = 1;
    dialog.GetValues().simulation.cmykIntent = 2;
    dialog.Apply();
    EXPECT_EQ(layout.GetColorProof(), 1);
    EXPECT_EQ(layout.Texts().simulationProfile, "Offset CMYK");
    EXPECT_EQ(layout.GetColorIntentSimulation(), 3);
    EXPECT_EQ(layout.GetColorIntentRGB(), 1);
}

TEST_F(ColourDialogsTest, PrinterProfileTextFollowsTheColourHandling) {
    const std::string recommended = LoadString(IDS_RECOMMENDED_PROFILE);
    layout.Texts().printerProfile = "Drucker RGB";
    layout.SetMediaType(7);
    struct Case { int match; int recommend; int media; std::string text; };
    for (const Case& c : {Case{1, 0, 7, recommended}, Case{0, 1, 7, recommended}, Case{0, 1, 8, "Drucker RGB"},
                          Case{0, 0, 7, "Drucker RGB"}}) {
        SCOPED_TRACE(c.match * 100 + c.recommend * 10 + c.media);
        layout.SetColorMatchPrinter(int16_t(c.match));
        layout.SetRecommend(c.recommend);
        layout.SetMediaType(c.media);
        EXPECT_EQ(PrinterProfileText(layout, media), c.text);
    }
    layout.SetColorMatchPrinter(0);
    layout.SetMediaType(8);
    EXPECT_EQ(GetRecommendedProfileName(layout, media), "sRGB Color Space Profile.ICM");
}

TEST_F(ColourDialogsTest, PrinterPicturesGoByModelClass) {
    EXPECT_EQ(PrinterModelIcon("TEVRA Proof 44"), 346);
    EXPECT_EQ(PrinterModelIcon("TEVRA Proof 24"), 347);
    EXPECT_EQ(PrinterModelIcon("TEVRA Proof A3"), 345);
    EXPECT_EQ(PrinterModelIcon("Unbekannt 9000"), 346);
}

TEST_F(ColourDialogsTest, WithoutADocumentTheDefaultsAreEditedAndUndoIsCleared) {
    EXPECT_EQ(InputColourDefaultsLayout(), &app.defaults);
    app.active = &layout;
    EXPECT_EQ(InputColourDefaultsLayout(), &layout);
    undo.PushUndo(layout, 29);
    AfterInputColourDefaults();
    EXPECT_FALSE(undo.CanUndo());
}

TEST_F(ColourDialogsTest, ImageColourEnablesOnlyWhatEverySelectedImageHas) {
    CImageObj& six = AddImage(layout, 6, true);
    six.SetUseZelFile(0);
    six.SetProfileUseEmbed(1);  // stored: the embedded profile
    AddImage(layout, 4, false);
    layout.SetCurrentItem(&six);
    ImageColourController dialog(layout, &media);
    EXPECT_EQ(dialog.GetValues().source, ImageColourController::Source::Embedded);
    ImageColourController::ControlState s = dialog.State();
    EXPECT_TRUE(s.zelEnabled);
    EXPECT_FALSE(s.exifEnabled);
    EXPECT_FALSE(s.embeddedEnabled);
    EXPECT_FALSE(s.okEnabled);
    EXPECT_FALSE(dialog.Apply());
    dialog.ChooseSource(ImageColourController::Source::Zel);
    s = dialog.State();
    EXPECT_TRUE(s.okEnabled);
    EXPECT_TRUE(s.zelPicture);
    EXPECT_FALSE(s.exifPicture);
    EXPECT_FALSE(s.sourceListEnabled);
    EXPECT_EQ(dialog.GetValues().sourceIntent, 4);
}

TEST_F(ColourDialogsTest, ImageColourZelWritesEachImagesOwnLevel) {
    CImageObj& six = AddImage(layout, 6, true);
    CImageObj& four = AddImage(layout, 4, false);
    auto owned = std::make_unique<CTextObj>(true);
    CTextObj* text = owned.get();
    text->SetSelected(1);
    AppendObject(layout.ItemListHead(), owned);
    layout.SetCurrentItem(text);  // the current item is no image
    four.SetProfileIntent(2);
    ImageColourController dialog(layout, &media);
    ASSERT_EQ(dialog.CurrentImage(), &six);
    dialog.ChooseSource(ImageColourController::Source::Zel);
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(six.GetUseZelFile(), 6);
    EXPECT_EQ(four.GetUseZelFile(), 4);
    EXPECT_EQ(six.GetSourceProfile(), GetEmbeddedProfileDescription());
    EXPECT_EQ(four.GetProfileIntent(), 2);
    EXPECT_EQ(undo.GetLastUndoCode(), 29);
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_EQ(layout.GetDirty(), 1);
}

TEST_F(ColourDialogsTest, ImageColourRgbProfileAndSimulationReachTheChains) {
    CImageObj& a = AddImage(layout, 0, false);
    CImageObj& b = AddImage(layout, 0, false);
    AddImage(layout, 0, false, false);  // not selected
    layout.SetCurrentItem(&a);
    ImageColourController dialog(layout, &media);
    dialog.ChooseSource(ImageColourController::Source::Rgb);
    dialog.GetValues().sourceProfile = 1;  // "Drucker RGB"
    dialog.GetValues().sourceIntent = 2;
    dialog.ChooseSimulation(Simulation::Cmyk);
    dialog.GetValues().simulation.cmykProfile = 1;
    ASSERT_TRUE(dialog.Apply());
    for (CImageObj* image : {&a, &b}) {
        EXPECT_EQ(image->GetSourceProfile(), "Drucker RGB");
        EXPECT_EQ(image->GetProfileIntent(), 3);
        EXPECT_EQ(image->GetColorProof(), 1);
        EXPECT_EQ(image->GetSimulationProfile(), "Offset CMYK");
        const std::optional<ProfileChainPlan> plan = BuildImageProfileChain(*image, {}, 0, CatalogueProfiles());
        ASSERT_TRUE(plan);
        std::string files;
        for (const ChainProfile& entry : *plan) files += entry.file.filename().string() + ";";
        EXPECT_NE(files.find("Drucker.icm"), std::string::npos) << files;
        EXPECT_NE(files.find("Offset.icc"), std::string::npos) << files;
    }
}

TEST_F(ColourDialogsTest, ImageColourEmbeddedTakesEachImagesOwnProfile) {
    test::TestRoot root;
    std::vector<CImageObj*> images;
    for (const char* name : {"Kamera A", "Kamera B"}) {
        test::JpegFixture fixture;
        fixture.markers = {{JPEG_APP0 + 2, test::IccChunk(1, 1, test::DescribedSrgb(name))}};
        const auto path = root.Path() / (std::string(name) + ".jpg");
        test::WriteBytes(path, test::EncodeJpeg(fixture));
        CImageObj& image = AddImage(layout, 0, true);
        ASSERT_TRUE(OpenImageFile(&image, path));
        image.SetSelected(1);
        images.push_back(&image);
    }
    layout.SetCurrentItem(images[0]);
    ImageColourController dialog(layout, &media);
    dialog.ChooseSource(ImageColourController::Source::Embedded);
    EXPECT_EQ(dialog.EmbeddedText(), " : Kamera A");
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(images[0]->GetSourceProfile(), "Kamera A");
    EXPECT_EQ(images[1]->GetSourceProfile(), "Kamera B");
    EXPECT_EQ(images[1]->GetProfileUseEmbed(), 1);
}

TEST_F(ColourDialogsTest, ImageColourOpenerRefusesGreyAndEmptySelections) {
    EXPECT_FALSE(BeforeImageColour(layout));
    EXPECT_TRUE(messages.shown.empty());
    CImageObj& grey = AddImage(layout, 0, false);
    EXPECT_TRUE(BeforeImageColour(layout));
    grey.SetColorSpace(FourCC("GRAY"));
    EXPECT_FALSE(BeforeImageColour(layout));
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10408}));
}

TEST_F(ColourDialogsTest, ImageColourDefaultsButtonAppliesTheLayoutsDefaults) {
    CImageObj& image = AddImage(layout, 2, true);
    layout.SetCurrentItem(&image);
    layout.SetZel(1);
    layout.SetColorProof(2);
    layout.Texts().simulationProfile = "Drucker RGB";
    layout.SetColorIntentSimulation(2);
    ImageColourController dialog(layout, &media);
    dialog.LoadLayoutDefaults();
    EXPECT_EQ(dialog.GetValues().source, ImageColourController::Source::Exif);
    EXPECT_EQ(dialog.GetValues().sourceProfile, 2);
    EXPECT_EQ(dialog.GetValues().sourceIntent, 4);
    EXPECT_EQ(dialog.GetValues().simulation.mode, Simulation::Rgb);
    EXPECT_EQ(dialog.GetValues().simulation.rgbIntent, 1);
    layout.SetZel(0);
    dialog.LoadLayoutDefaults();
    EXPECT_EQ(dialog.GetValues().source, ImageColourController::Source::Rgb);
    EXPECT_EQ(dialog.GetValues().sourceIntent, 2);
}

}  // namespace
}  // namespace vx
