#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "platform/driver/DescriptorReader.h"
#include "platform/driver/ModelCatalogue.h"
#include "platform/system/Folders.h"
#include "platform/system/IniFile.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace fs = std::filesystem;
namespace {

const std::string kGood = R"(<?xml version="1.0" encoding="UTF-8"?>
<printer-model format="1" name="TEVRA Test" family="48" class="1" resolution="720"
               items="203" inks="2 1" layout-flags="3" largest-width="6100" largest-length="30000">
  <paper id="9" width="2100" height="2970" name="A4"/>
  <paper id="8" width="2970" height="4200" name="A3"/>
  <future-element anything="ignored"/>
  <source id="4" name="Einzelblatt" papers="9 8" media="1 2" margins="10 20 30 40" maximum-margins="10 10 10 10"/>
  <source id="256" name="Rolle" roll="1" roll-options="5" papers="9" media="1" margins="30 0 30 0" maximum-margins="30 0 30 0"/>
  <source id="258" name="Randlos" borderless="1" overspray="30" papers="9" media="1" margins="0 0 0 0" maximum-margins="0 0 0 0"/>
  <medium id="1" name="Foto" profile="Foto.icc"><ink id="2" modes="2" ultrafine="1"/><ink id="1" modes="1"/></medium>
  <medium id="2" name="Matt" profile="Matt.icc" colour="later"><ink id="2"/></medium>
</printer-model>
)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("fixture lacks: " + from);
    return text.replace(at, from.size(), to);
}

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct BrokenRow {
    const char* what;
    std::vector<std::pair<std::string, std::string>> edits;
    DescriptorFault fault;
};

TEST(DescriptorChecker, RefusesEachBrokenDescriptorWithItsReasonAndKeepsTheOthers) {
    using F = DescriptorFault;
    const BrokenRow rows[] = {
        {"not well-formed", {{"</printer-model>", "</printer-mod>"}}, F::NotWellFormed},
        {"another root element", {{"<printer-model ", "<printer "}, {"</printer-model>", "</printer>"}}, F::NotADescriptor},
        {"format 2", {{"format=\"1\"", "format=\"2\""}}, F::UnknownFormat},
        {"name of 32 bytes", {{"\"TEVRA Test\"", "\"TEVRA 67890123456789012345678901\""}}, F::BadName},
        {"name without \"TEVRA \"", {{"\"TEVRA Test\"", "\"Proof 44\""}}, F::BadName},
        {"family that is no number", {{"family=\"48\"", "family=\"0x30\""}}, F::BadValue},
        {"class 4", {{"class=\"1\"", "class=\"4\""}}, F::BadClass},
        {"an unknown item", {{"items=\"203\"", "items=\"203 999\""}}, F::UnknownItem},
        {"repeated paper id", {{"<paper id=\"8\"", "<paper id=\"9\""}}, F::RepeatedId},
        {"paper id 0", {{"<paper id=\"8\"", "<paper id=\"0\""}}, F::IdOutOfRange},
        {"paper 256", {{"<paper id=\"8\"", "<paper id=\"256\""}, {"papers=\"9 8\"", "papers=\"9 256\""}}, F::UserDefinedPaper},
        {"paper of 5 mm", {{"width=\"2970\"", "width=\"50\""}}, F::PaperSideOutOfRange},
        {"5000 mm paper without item 203", {{"items=\"203\"", "items=\"\""}, {"height=\"4200\"", "height=\"50000\""}},
         F::PaperTooLargeForItem30},
        {"paper without name", {{" name=\"A3\"", ""}}, F::MissingName},
        {"source listing an unknown paper", {{"papers=\"9 8\"", "papers=\"9 7\""}}, F::UnknownPaper},
        {"source listing an unknown medium", {{"media=\"1 2\"", "media=\"1 3\""}}, F::UnknownMedium},
        {"source listing no medium", {{"media=\"1 2\"", "media=\"\""}}, F::SourceWithoutMedia},
        {"roll flag on source 4", {{"name=\"Einzelblatt\"", "name=\"Einzelblatt\" roll=\"1\""}}, F::RollSourceId},
        {"roll source 256 without the flag", {{" roll=\"1\" roll-options=\"5\"", ""}}, F::RollSourceId},
        {"borderless source 4", {{"name=\"Einzelblatt\"", "name=\"Einzelblatt\" borderless=\"1\""}}, F::BorderlessSourceId},
        {"borderless source with margins", {{"maximum-margins=\"0 0 0 0\"", "maximum-margins=\"10 0 0 0\""}},
         F::BorderlessMargins},
        {"sheet source without margins", {{"maximum-margins=\"10 10 10 10\"", "maximum-margins=\"0 0 0 0\""}},
         F::BorderlessMargins},
        {"roll options on a sheet source", {{"name=\"Einzelblatt\"", "name=\"Einzelblatt\" roll-options=\"1\""}},
         F::RollOptionsNotOnRoll},
        {"medium without profile", {{" profile=\"Matt.icc\"", ""}}, F::MediumWithoutProfile},
        {"medium that takes no ink", {{"<ink id=\"2\"/>", ""}}, F::MediumWithoutInk},
        {"medium with an ink the model lacks", {{"<ink id=\"2\"/>", "<ink id=\"256\"/>"}}, F::UnknownInk},
        {"three print modes", {{"<ink id=\"1\" modes=\"1\"/>", "<ink id=\"1\" modes=\"3\"/>"}}, F::BadModeCount},
        {"margins leaving no area", {{"margins=\"10 20 30 40\"", "margins=\"1000 20 1100 40\""}}, F::NoPrintableArea},
        {"margins leaving no area when centred", {{"margins=\"10 20 30 40\"", "margins=\"10 20 30 2100\""}},
         F::NoPrintableArea},
        {"overspray beyond the longest paper", {{"overspray=\"30\"", "overspray=\"2000000000\""}},
         F::BorderlessMargins},
        {"margins of three numbers", {{"margins=\"10 20 30 40\"", "margins=\"10 20 30\""}}, F::BadValue},
    };
    for (const BrokenRow& row : rows) {
        SCOPED_TRACE(row.what);
        TestRoot folder;
        std::string broken = kGood;
        for (const auto& [from, to] : row.edits) broken = Replace(broken, from, to);
        Write(folder.Path() / "a_broken.xml", broken);
        Write(folder.Path() / "b_good.xml", Replace(kGood, "\"TEVRA Test\"", "\"TEVRA Good\""));

        PrinterModel model;
        EXPECT_EQ(DescriptorReader::Read(folder.Path() / "a_broken.xml", model).fault, row.fault);

        testing::internal::CaptureStderr();
        ModelCatalogue catalogue = ModelCatalogue::LoadFolder(folder.Path());
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(catalogue.Models().size(), 1u);
        EXPECT_EQ(catalogue.Models()[0]->name, "TEVRA Good");
        EXPECT_NE(err.find("a_broken.xml"), std::string::npos) << err;
        EXPECT_NE(err.find(DescriptorFaultText(row.fault)), std::string::npos) << err;
    }
}

TEST(DescriptorChecker, AcceptsLongPapersWithItem203AndIgnoresUnknownParts) {
    TestRoot folder;
    Write(folder.Path() / "long.xml", Replace(kGood, "height=\"4200\"", "height=\"150000\""));
    PrinterModel model;
    DescriptorProblem p = DescriptorReader::Read(folder.Path() / "long.xml", model);
    EXPECT_TRUE(p.ok()) << DescriptorFaultText(p.fault) << " " << p.detail;
    EXPECT_EQ(model.media.size(), 2u);
    EXPECT_EQ(model.Source(258)->overspray, 30);
}

TEST(DescriptorChecker, ASecondDescriptorOfOneModelIsLeftOut) {
    TestRoot folder;
    Write(folder.Path() / "a.xml", kGood);
    Write(folder.Path() / "b.xml", Replace(kGood, "class=\"1\"", "class=\"2\""));
    testing::internal::CaptureStderr();
    ModelCatalogue catalogue = ModelCatalogue::LoadFolder(folder.Path());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("b.xml"), std::string::npos);
    ASSERT_EQ(catalogue.Models().size(), 1u);
    EXPECT_EQ(catalogue.Models()[0]->modelClass, 1);
}

TEST(ShippedDescriptors, PassTheCheckerAndFollowTheModelRules) {
    const fs::path folder = DataFolder() / "printers";
    const char* const names[] = {"TEVRA_Proof_44.xml", "TEVRA_Proof_24.xml", "TEVRA_Proof_A3.xml"};
    IniFile profiles;
    ASSERT_TRUE(profiles.Load(test::SourceFolder() / "resources" / "profiles" / "printers.ini"));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        PrinterModel m;
        DescriptorProblem p = DescriptorReader::Read(folder / name, m);
        ASSERT_TRUE(p.ok()) << DescriptorFaultText(p.fault) << " line " << p.line << " " << p.detail;
        EXPECT_EQ(m.family, 0x30);
        // A fresh printer lands on A4 photo paper from a sheet source.
        const ModelSource& first = m.sources.front();
        EXPECT_FALSE(first.roll);
        EXPECT_EQ(first.papers.front(), 9);
        EXPECT_EQ(m.Medium(first.media.front())->name.rfind("Fotopapier", 0), 0u);
        EXPECT_EQ(m.Paper(9)->width, 2100);
        EXPECT_EQ(m.Paper(9)->height, 2970);
        // Media that exercise the one-mode, sheets-only and no-256 branches.
        const ModelMedium* fineArt = nullptr;
        for (const ModelMedium& md : m.media)
            if (md.name == "Fine-Art-Papier Matt") fineArt = &md;
        ASSERT_NE(fineArt, nullptr);
        for (const InkOnMedium& ink : fineArt->inks) EXPECT_EQ(ink.modes, 1);
        int sheetsOnly = 0, without256 = 0;
        for (const ModelMedium& md : m.media) {
            bool onRoll = false;
            for (const ModelSource& s : m.sources) onRoll = onRoll || (s.roll && s.OffersMedium(md.id));
            sheetsOnly += !onRoll;
            without256 += md.Ink(kInkMonoPhoto) == nullptr;
        }
        EXPECT_GT(sheetsOnly, 0);
        EXPECT_GT(without256, 0);
        // Every profile is generated, and each model has profiles with and without the
        // private tag.
        int withTag = 0;
        for (const ModelMedium& md : m.media) {
            const std::string section = "icc/" + md.profile;
            EXPECT_EQ(profiles.GetString(section, "Class"), "prtr") << section;
            EXPECT_EQ(profiles.GetString(section, "Description"), m.name + " " + md.name) << section;
            withTag += profiles.GetInt(section, "Mdea") == 1;
        }
        EXPECT_GT(withTag, 0);
        EXPECT_LT(withTag, static_cast<int>(m.media.size()));
    }
    EXPECT_EQ(ModelCatalogue::Shipped().Models().size(), 3u);
}

}  // namespace
}  // namespace vx::test
