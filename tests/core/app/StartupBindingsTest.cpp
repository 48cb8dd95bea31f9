#include <gtest/gtest.h>

#include <filesystem>

#include "../colourmanagement/CatalogueFolders.h"
#include "../imaging/JpegFixtures.h"
#include "../imaging/TiffFixtures.h"
#include "../imaging/TestBuffers.h"
#include "app/SettingsStore.h"
#include "app/StartupBindings.h"
#include "colourmanagement/DeviceProfiles.h"
#include "host/HostService.h"
#include "host/ViewServices.h"
#include "imaging/ImageFileType.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageInfoReaders.h"
#include "model/PictureLoader.h"
#include "model/ProfileDescriptions.h"
#include "printing/PrinterSetupServices.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class Bindings : public testing::Test {
protected:
    Bindings() {
        folders.AddDefaults();
        saved = SetPictureLoaderHooks({});
        SetPictureLoaderHooks(saved);
    }
    ~Bindings() override {
        SetPictureLoaderHooks(saved);
        SetProfileDescriptions({});
    }

    /// A white CMYK picture (no ink) loaded for the screen. CMYK JPEGs are refused by
    /// the JPEG reader, so the picture is a TIFF.
    std::vector<uint8_t> LoadCmykPicture() {
        test::TiffFixture fixture;
        fixture.width = fixture.length = 4;
        fixture.photometric = PHOTOMETRIC_SEPARATED;
        fixture.samples = 4;
        const fs::path path = root.Path() / "cmyk.tif";
        test::WriteBytes(path, test::EncodeTiff(fixture));
        CLayoutSetting layout(true);
        CImageObj item(true);
        item.SetOwner(&layout);
        item.SetFilePath(path);
        EXPECT_TRUE(ReadTiffInfo(item));
        item.SetFileType(kFileTypeTiff);
        item.SetColorSpace(FourCC("CMYK"));
        item.SetSourceProfile("");  // the CMYK default
        Rect16 target;
        target.Set(0, 0, 4, 4);
        DibBufferPtr buffer = LoadPictureBuffer(item, 1, target);
        return buffer ? test::AllPixels(buffer.get()) : std::vector<uint8_t>();
    }

    test::TestRoot root;
    test::CatalogueFolders folders;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    test::RecordingApplicationState app;
    test::RecordingShell shell;
    PictureLoaderHooks saved;
};

TEST_F(Bindings, ACmykPictureIsColourManagedOnceBound) {
    std::vector<uint8_t> managed, plain;
    {
        StartupBindings bindings({&app, &shell});
        managed = LoadCmykPicture();
        // The same load with colour management taken out again.
        const PictureLoaderHooks bound = SetPictureLoaderHooks({});
        PictureLoaderHooks unmanaged = bound;
        unmanaged.colorManage = [](DibBuffer*, CImageObj&, int) { return true; };
        SetPictureLoaderHooks(unmanaged);
        plain = LoadCmykPicture();
        SetPictureLoaderHooks(bound);
    }
    ASSERT_EQ(managed.size(), 64u) << testing::PrintToString(messages.Ids());
    ASSERT_EQ(plain.size(), 64u);
    EXPECT_NE(managed, plain) << "the picture went through the CMYK profile";
    // Paper white of the CMYK default is darker than the screen's white.
    EXPECT_LT(managed[0], 250);
    EXPECT_EQ(managed[3], 255);
}

TEST_F(Bindings, HostServicesComeAndGo) {
    {
        StartupBindings bindings({&app, &shell});
        EXPECT_EQ(HostService<ApplicationState>(), &app);
        EXPECT_EQ(HostService<Shell>(), &shell);
        EXPECT_NE(HostService<ViewServices>(), nullptr);
        ASSERT_NE(HostService<PrinterSetupServices>(), nullptr);
        EXPECT_FALSE(HostService<PrinterSetupServices>()->RunOutputColorDialog());
    }
    EXPECT_EQ(HostService<ApplicationState>(), nullptr);
    EXPECT_EQ(HostService<Shell>(), nullptr);
    EXPECT_EQ(HostService<ViewServices>(), nullptr);
    EXPECT_EQ(HostService<PrinterSetupServices>(), nullptr);

    // The shell comes later than the bindings, with the main frame.
    StartupBindings bindings({&app, nullptr});
    EXPECT_EQ(HostService<Shell>(), nullptr);
    bindings.BindShell(&shell, nullptr);
    EXPECT_EQ(HostService<Shell>(), &shell);
}

TEST_F(Bindings, TheMonitorProfileFollowsTheSettingsStore) {
    SettingsStore store(root.Path() / "VellicorEX_Settings.ini");
    const std::string fallback = GetMonitorProfileName();
    {
        HostBindingPorts ports{&app, nullptr};
        ports.monitorProfile = [] { return std::string("nicht.icc"); };
        ports.settings = &store;
        StartupBindings bindings(ports);
        EXPECT_EQ(GetMonitorProfileName(), fallback) << "none chosen";
        store.SetString(kMonitorProfileSection, kMonitorProfileKey, "Bildschirm.icc");
        EXPECT_EQ(GetMonitorProfileName(), "Bildschirm.icc");
        store.SetString(kMonitorProfileSection, kMonitorProfileKey, "/opt/farben/eizo.icc");
        EXPECT_EQ(GetMonitorProfileName(), "/opt/farben/eizo.icc");
    }
    EXPECT_EQ(GetMonitorProfileName(), fallback);
    {
        HostBindingPorts ports{&app, nullptr};
        ports.monitorProfile = [] { return std::string("gewählt.icc"); };
        StartupBindings bindings(ports);
        EXPECT_EQ(GetMonitorProfileName(), "gewählt.icc");
    }
}

}  // namespace
}  // namespace vx
