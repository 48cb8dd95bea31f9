#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "TestProfiles.h"
#include "platform/colour/ColourProfile.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Folders.h"
#include "platform/system/IniFile.h"
#include "support/TestFolders.h"

extern char** environ;

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::CmsProfile;
using test::CmsTransform;

const fs::path kInputFolder = test::SourceFolder() / "resources" / "profiles";

struct Expected {
    std::string path;  // below the data folder, or empty for a carried profile
    int resource;
    uint32_t deviceClass, space, pcs;
    std::string description;
};

std::vector<Expected> ApplicationProfiles() {
    const uint32_t mntr = kClassMonitor, prtr = kClassPrinter, abst = kClassAbstract;
    const uint32_t rgb = kSpaceRgb, cmyk = kSpaceCmyk, lab = kSpaceLab, xyz = kSpaceXyz;
    std::vector<Expected> list = {
        {"icc/sRGB Color Space Profile.ICM", 0, mntr, rgb, xyz, "sRGB IEC61966-2.1"},
        {"icc/Marlo_CMYK.icc", 0, prtr, cmyk, lab, "Marlo CMYK"},
        {"", kZelMonitorProfileResource, mntr, rgb, lab, "TEVRA Zel RGB"},
        {"", kPhotoPrintProfileResource, prtr, rgb, lab, "TEVRA Photo Print RGB"},
        {"VirIza/GrayStable", 0, abst, lab, lab, "GrayStable"},
        {"VirIza/Shadow", 0, abst, lab, lab, "Shadow"},
        {"VirIza/TV_sRGB", 0, mntr, rgb, xyz, "TV_sRGB"},
    };
    for (const char* kind : {"Bright", "Contrast", "Vivid"})
        for (const char* step : {"-3", "-2", "-1", "+1", "+2", "+3"}) {
            const std::string name = std::string(kind) + step;
            list.push_back({"VirIza/" + name, 0, abst, lab, lab, name});
        }
    return list;
}

ColourProfile Open(const Expected& e) {
    return e.resource ? OpenProgramProfile(e.resource) : test::OpenDataProfile(e.path);
}

TEST(GeneratedProfiles, HaveTheirClassSpaceAndDescription) {
    for (const Expected& e : ApplicationProfiles()) {
        SCOPED_TRACE(e.resource ? std::to_string(e.resource) : e.path);
        ColourProfile p = Open(e);
        ASSERT_TRUE(p);
        EXPECT_TRUE(p.IsValid());
        EXPECT_EQ(p.Header().deviceClass, e.deviceClass);
        EXPECT_EQ(p.Header().colourSpace, e.space);
        EXPECT_EQ(p.Header().pcs, e.pcs);
        EXPECT_EQ(p.Header().version, 0x02100000u);
        EXPECT_EQ(p.Description(), e.description);

        // A fixed creation date, and an ID that matches the bytes.
        struct tm created {};
        ASSERT_TRUE(cmsGetHeaderCreationDateTime(p.Handle(), &created));
        EXPECT_EQ(created.tm_year + 1900, 2024);
        EXPECT_EQ(created.tm_mon, 0);
        EXPECT_EQ(created.tm_mday, 1);
        cmsUInt8Number id[16], recomputed[16];
        cmsGetHeaderProfileID(p.Handle(), id);
        EXPECT_NE(std::vector<uint8_t>(id, id + 16), std::vector<uint8_t>(16, 0));
        ASSERT_TRUE(cmsMD5computeID(p.Handle()));
        cmsGetHeaderProfileID(p.Handle(), recomputed);
        EXPECT_EQ(std::vector<uint8_t>(id, id + 16), std::vector<uint8_t>(recomputed, recomputed + 16));
    }
}

TEST(GeneratedProfiles, EverySectionOfTheInputsLiesInTheDataFolder) {
    // Also the printer models' media profiles, whoever lists them.
    int checked = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kInputFolder)) {
        if (entry.path().extension() != ".ini") continue;
        IniFile ini;
        ASSERT_TRUE(ini.Load(entry.path()));
        for (const std::string& section : ini.Sections()) {
            if (section.rfind("resource:", 0) == 0) continue;
            SCOPED_TRACE(section);
            ColourProfile p = test::OpenDataProfile(section);
            ASSERT_TRUE(p);
            EXPECT_TRUE(p.IsValid());
            EXPECT_EQ(p.Header().deviceClass, FourCCFromText(ini.GetString(section, "Class")));
            EXPECT_EQ(p.Header().colourSpace, FourCCFromText(ini.GetString(section, "Space")));
            EXPECT_EQ(p.Description(), ini.GetString(section, "Description").substr(
                                           0, ini.GetString(section, "Description").find(" ;")));
            ++checked;
        }
    }
    EXPECT_GE(checked, 23);
}

TEST(GeneratedProfiles, CarriedProfilesAreNotInTheDataFolder) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(DataFolder())) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        char magic[4] = {};
        in.seekg(36);
        if (!in.read(magic, 4) || std::string(magic, 4) != "acsp") continue;
        SCOPED_TRACE(entry.path().string());
        ColourProfile p = ColourProfile::OpenFile(entry.path());
        ASSERT_TRUE(p);
        EXPECT_NE(p.Description(), "TEVRA Zel RGB");
        EXPECT_NE(p.Description(), "TEVRA Photo Print RGB");
    }
    EXPECT_TRUE(ProgramProfileBytes(4711).empty());
    EXPECT_FALSE(OpenProgramProfile(4711));
}

// Runs the generator beside this test program; returns its exit status and stderr.
int RunGenerator(const std::vector<std::string>& args, std::string* errors = nullptr) {
    test::TestRoot scratch;
    const fs::path errFile = scratch.Path() / "stderr.txt";
    const std::string exe = (ExecutableFolder() / "vx_profile_generator").string();
    std::vector<std::string> all = {exe};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (errors) ReadWholeFile(errFile, *errors);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> InputFiles() {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(kInputFolder))
        if (entry.path().extension() == ".ini") files.push_back(entry.path().string());
    return files;
}

std::map<fs::path, std::string> FilesBelow(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) ReadWholeFile(entry.path(), files[entry.path().lexically_relative(root)]);
    return files;
}

TEST(ProfileGenerator, WritesTheSameBytesEveryRun) {
    test::TestRoot root;
    std::vector<std::map<fs::path, std::string>> runs;
    for (const char* name : {"one", "two"}) {
        std::vector<std::string> args = {"--data", (root.Path() / name / "data").string(),
                                         "--program-source", (root.Path() / name / "carried.cpp").string()};
        for (const std::string& f : InputFiles()) args.push_back(f);
        std::string errors;
        ASSERT_EQ(RunGenerator(args, &errors), 0) << errors;
        runs.push_back(FilesBelow(root.Path() / name));
    }
    EXPECT_GE(runs[0].size(), 24u);
    EXPECT_TRUE(runs[0] == runs[1]);

    // The build ran the same program on the same inputs.
    for (const auto& [path, bytes] : runs[0]) {
        if (path.begin()->string() != "data") continue;
        std::string built;
        const fs::path inBuild = DataFolder() / path.lexically_relative("data");
        ASSERT_TRUE(ReadWholeFile(inBuild, built)) << inBuild;
        EXPECT_TRUE(built == bytes) << inBuild;
    }
}

struct GeneratorCase {
    const char* name;
    const char* body;
    const char* message;  // empty: must succeed
};

TEST(ProfileGenerator, ChecksItsInput) {
    const std::vector<GeneratorCase> cases = {
        {"printer profile with comments",
         "[icc/P.icc]\nClass=prtr ; the class\nSpace=RGB\nDescription=P ; medium\n"
         "Recipe=printer-rgb\nPaperWhiteL=95\nBlackL=10\nMdea=1\n", ""},
        {"unknown recipe", "[a.icc]\nClass=prtr\nSpace=RGB\nDescription=A\nRecipe=nope\n", "unknown recipe"},
        {"unknown key", "[a.icc]\nClass=prtr\nSpace=RGB\nDescription=A\nRecipe=printer-rgb\n"
                        "PaperWhiteL=95\nBlackL=10\nPaper=1\n", "has no key paper"},
        {"space the recipe cannot make", "[a.icc]\nClass=prtr\nSpace=CMYK\nDescription=A\nRecipe=printer-rgb\n",
         "makes another space"},
        {"class the recipe cannot make", "[a.icc]\nClass=abst\nSpace=RGB\nDescription=A\nRecipe=srgb\n",
         "cannot make that class"},
        {"unknown class", "[a.icc]\nClass=scnr\nSpace=RGB\nDescription=A\nRecipe=srgb\n", "unknown class"},
        {"missing description", "[a.icc]\nClass=mntr\nSpace=RGB\nRecipe=srgb\n", "missing key description"},
        {"black above white", "[a.icc]\nClass=prtr\nSpace=RGB\nDescription=A\nRecipe=printer-rgb\n"
                              "PaperWhiteL=50\nBlackL=60\n", "BlackL must be"},
        {"number with a comma", "[a.icc]\nClass=prtr\nSpace=RGB\nDescription=A\nRecipe=printer-rgb\n"
                                "PaperWhiteL=95,5\nBlackL=8\n", "PaperWhiteL must be"},
        {"Mdea other than 0 or 1", "[a.icc]\nClass=prtr\nSpace=RGB\nDescription=A\nRecipe=printer-rgb\n"
                                   "PaperWhiteL=95\nBlackL=8\nMdea=0.5\n", "Mdea must be 0 or 1"},
        {"path leaving the data folder", "[../a.icc]\nClass=mntr\nSpace=RGB\nDescription=A\nRecipe=srgb\n",
         "relative path"},
        {"absolute path", "[/tmp/a.icc]\nClass=mntr\nSpace=RGB\nDescription=A\nRecipe=srgb\n", "relative path"},
        {"target twice", "[a.icc]\nClass=mntr\nSpace=RGB\nDescription=A\nRecipe=srgb\n"
                         "[A.ICC]\nClass=mntr\nSpace=RGB\nDescription=B\nRecipe=srgb\n", "named twice"},
        {"text beyond Latin-1", "[a.icc]\nClass=mntr\nSpace=RGB\nDescription=Цвет\nRecipe=srgb\n", "Latin-1"},
        {"bad resource number", "[resource:x]\nClass=mntr\nSpace=RGB\nDescription=A\nRecipe=srgb\n",
         "bad resource number"},
    };
    for (const GeneratorCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestRoot root;
        ASSERT_TRUE(WriteFileAtomically(root.Path() / "in.ini", c.body));
        std::string errors;
        const int status = RunGenerator({"--data", (root.Path() / "data").string(), "--program-source",
                                         (root.Path() / "carried.cpp").string(),
                                         (root.Path() / "in.ini").string()},
                                        &errors);
        if (*c.message == 0) {
            EXPECT_EQ(status, 0) << errors;
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
            EXPECT_NE(errors.find("in.ini"), std::string::npos) << errors;
        }
    }
}

TEST(ProfileGenerator, PrinterProfilesCarryTheMediaTagOnRequest) {
    test::TestRoot root;
    ASSERT_TRUE(WriteFileAtomically(
        root.Path() / "in.ini",
        "[icc/with.icc]\nClass=prtr\nSpace=RGB\nDescription=Glanz\nRecipe=printer-rgb\n"
        "PaperWhiteL=94\nBlackL=6\nMdea=1\n"
        "[icc/without.icc]\nClass=prtr\nSpace=RGB\nDescription=Matt\nRecipe=printer-rgb\n"
        "PaperWhiteL=90\nBlackL=14\n"));
    const fs::path data = root.Path() / "data";
    ASSERT_EQ(RunGenerator({"--data", data.string(), "--program-source", (root.Path() / "c.cpp").string(),
                            (root.Path() / "in.ini").string()}),
              0);
    ColourProfile with = ColourProfile::OpenFile(data / "icc/with.icc");
    ColourProfile without = ColourProfile::OpenFile(data / "icc/without.icc");
    ASSERT_TRUE(with && without);
    auto tag = with.RawTag(FourCC("mdea"), 512);
    ASSERT_TRUE(tag);
    EXPECT_EQ(std::string(tag->begin(), tag->begin() + 4), "data");
    EXPECT_EQ(without.RawTag(FourCC("mdea"), 100000), std::nullopt);
}

// Lab of the given device values through a profile's tables. Relative colorimetric:
// with perceptual, LittleCMS compensates the black point towards a version 4 profile.
template <size_t N>
cmsCIELab DeviceToLab(const ColourProfile& p, const std::array<double, N>& device) {
    CmsProfile lab(cmsCreateLab4Profile(nullptr));
    CmsTransform t(cmsCreateTransform(p.Handle(), N == 4 ? TYPE_CMYK_DBL : TYPE_RGB_DBL, lab.get(),
                                      TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0));
    std::array<double, N> in = device;
    if (N == 4)
        for (double& v : in) v *= 100;  // CMYK doubles are percentages
    cmsCIELab out{};
    cmsDoTransform(t.get(), in.data(), &out, 1);
    return out;
}

TEST(GeneratedProfiles, PrintProcessSpansPaperWhiteToBlack) {
    struct Case {
        int resource;
        double white, black;
    };
    for (const Case& c : {Case{kPhotoPrintProfileResource, 96, 8}, Case{kZelMonitorProfileResource, 100, 0}}) {
        SCOPED_TRACE(c.resource);
        ColourProfile p = OpenProgramProfile(c.resource);
        ASSERT_TRUE(p);
        const cmsCIELab white = DeviceToLab<3>(p, {1, 1, 1});
        EXPECT_NEAR(white.L, c.white, 0.5);
        EXPECT_NEAR(white.a, 0, 0.5);
        EXPECT_NEAR(white.b, 0, 0.5);
        EXPECT_NEAR(DeviceToLab<3>(p, {0, 0, 0}).L, c.black, 0.5);
    }
    // Gamma 2.2: a level of 0.5 has 0.5^2.2 of the light.
    ColourProfile zel = OpenProgramProfile(kZelMonitorProfileResource);
    const double y = std::pow(0.5, 2.2);
    EXPECT_NEAR(DeviceToLab<3>(zel, {0.5, 0.5, 0.5}).L, 116 * std::cbrt(y) - 16, 0.5);
}

TEST(GeneratedProfiles, CmykSeparationStaysWithinTheInkLimit) {
    ColourProfile cmyk = test::OpenDataProfile("icc/Marlo_CMYK.icc");
    ASSERT_TRUE(cmyk);
    EXPECT_NEAR(DeviceToLab<4>(cmyk, {0, 0, 0, 0}).L, 96, 1);
    EXPECT_LT(DeviceToLab<4>(cmyk, {1, 1, 1, 1}).L, 10);

    CmsProfile lab(cmsCreateLab4Profile(nullptr));
    CmsTransform toInk(cmsCreateTransform(lab.get(), TYPE_Lab_DBL, cmyk.Handle(), TYPE_CMYK_DBL,
                                          INTENT_RELATIVE_COLORIMETRIC, 0));
    CmsTransform toLab(cmsCreateTransform(cmyk.Handle(), TYPE_CMYK_DBL, lab.get(), TYPE_Lab_DBL,
                                          INTENT_RELATIVE_COLORIMETRIC, 0));
    ASSERT_TRUE(toInk && toLab);
    double worstTotal = 0, worstRoundTrip = 0;
    for (double l = 0; l <= 100; l += 5)
        for (double a = -120; a <= 120; a += 15)
            for (double b = -120; b <= 120; b += 15) {
                cmsCIELab in{l, a, b};
                double ink[4];
                cmsDoTransform(toInk.get(), &in, ink, 1);
                worstTotal = std::max(worstTotal, ink[0] + ink[1] + ink[2] + ink[3]);
            }
    // Colours the inks can make come back where they were.
    for (double c : {0.0, 0.3, 0.7})
        for (double m : {0.0, 0.4, 0.8})
            for (double y : {0.0, 0.5, 0.9}) {
                double ink[4] = {c * 100, m * 100, y * 100, 0};
                cmsCIELab lab1, lab2;
                cmsDoTransform(toLab.get(), ink, &lab1, 1);
                double back[4];
                cmsDoTransform(toInk.get(), &lab1, back, 1);
                cmsDoTransform(toLab.get(), back, &lab2, 1);
                worstRoundTrip = std::max(worstRoundTrip, cmsDeltaE(&lab1, &lab2));
            }
    EXPECT_LE(worstTotal, 301);
    EXPECT_LT(worstRoundTrip, 2.5);
}

TEST(GeneratedProfiles, TintStepsMoveLightnessContrastAndChroma) {
    CmsProfile lab(cmsCreateLab4Profile(nullptr));
    auto apply = [&](const char* name, cmsCIELab in) {
        ColourProfile p = test::OpenDataProfile(std::string("VirIza/") + name);
        EXPECT_TRUE(p) << name;
        CmsTransform t(cmsCreateTransform(lab.get(), TYPE_Lab_DBL, p.Handle(), TYPE_Lab_DBL,
                                          INTENT_RELATIVE_COLORIMETRIC, 0));
        EXPECT_TRUE(t) << name;
        cmsCIELab out{};
        cmsDoTransform(t.get(), &in, &out, 1);
        return out;
    };
    for (int step : {-3, -2, -1, 1, 2, 3}) {
        SCOPED_TRACE(step);
        const std::string sign = step > 0 ? "+" : "-";
        const std::string n = sign + std::to_string(std::abs(step));
        EXPECT_NEAR(apply(("Bright" + n).c_str(), {50, 0, 0}).L, 50 + 4 * step, 0.5);
        EXPECT_NEAR(apply(("Contrast" + n).c_str(), {70, 0, 0}).L, 50 + 20 * (1 + 0.1 * step), 0.5);
        const cmsCIELab vivid = apply(("Vivid" + n).c_str(), {60, 24, 32});  // C* 40
        EXPECT_NEAR(std::hypot(vivid.a, vivid.b), 40 + 10 * step, 1.0);
        EXPECT_NEAR(std::atan2(vivid.b, vivid.a), std::atan2(32, 24), 0.02);
        const cmsCIELab grey = apply(("Vivid" + n).c_str(), {60, 0, 0});
        EXPECT_LT(std::hypot(grey.a, grey.b), 0.5);
    }
    for (const char* identity : {"GrayStable", "Shadow"}) {
        const cmsCIELab out = apply(identity, {37, -20, 45});
        EXPECT_NEAR(out.L, 37, 0.3);
        EXPECT_NEAR(out.a, -20, 0.3);
        EXPECT_NEAR(out.b, 45, 0.3);
    }
}

}  // namespace
}  // namespace vx
