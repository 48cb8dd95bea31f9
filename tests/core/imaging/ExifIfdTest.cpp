#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/ExifIfd.h"
#include "JpegFixtures.h"

namespace vx {
namespace {

TEST(ParseExifIfd, ReadsMakerModelAndResolutionInBothByteOrders) {
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        const std::vector<uint8_t> block = test::ExifBuilder(big)
                                               .Ascii(271, "Kamerawerk")
                                               .Ascii(272, "KW-9")
                                               .Rational(282, 600, 2)
                                               .Rational(283, 300, 1)
                                               .Short(296, 3)
                                               .Short(0x0112, 6)
                                               .Build();
        ExifRecord r;
        r.orientation = 0;
        ParseExifIfd(r, block.data(), block.size());
        EXPECT_EQ(r.presence, ExifRecord::kExifIfd);
        EXPECT_EQ(r.maker, "Kamerawerk");
        EXPECT_EQ(r.model, "KW-9");  // 4 bytes + NUL: held outside the entry
        EXPECT_EQ(r.xResolution, 300);
        EXPECT_EQ(r.yResolution, 300);
        EXPECT_EQ(r.resolutionUnit, 3);
        EXPECT_EQ(r.orientation, 0) << "IFD0 orientation is the full parser's";
    }
}

TEST(ParseExifIfd, KeepsToTheBlockAndToWhatItCanRead) {
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        uint16_t xResolution;
        std::string maker;
    };
    const std::vector<uint8_t> whole =
        test::ExifBuilder().Rational(282, 72, 1).Ascii(271, "Abgeschnitten").Build();
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 5);  // the maker text runs past the end
    const std::vector<Case> cases = {
        {"not a TIFF start", test::Bytes(std::string_view("XX*\0\x08\0\0\0", 8)), 0, ""},
        {"zero denominator", test::ExifBuilder().Rational(282, 300, 0).Build(), 0, ""},
        {"resolution beyond 16 bits", test::ExifBuilder().Rational(282, 70000, 1).Build(), 65535, ""},
        {"value outside the block", test::ExifBuilder().Raw(271, 2, 40, 0xFFFFFF00u).Build(), 0, ""},
        {"text cut by the block", cut, 72, ""},
        {"wrong type for a rational", test::ExifBuilder().Short(282, 300).Build(), 0, ""},
        {"only a header", test::Bytes(std::string_view("II*\0\x08\0\0\0", 8)), 0, ""},
        {"IFD beyond the end", test::Bytes(std::string_view("II*\0\xFF\0\0\0", 8)), 0, ""},
        {"three bytes", test::Bytes("II*"), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExifRecord r;
        ParseExifIfd(r, c.block.data(), c.block.size());
        EXPECT_EQ(r.presence, ExifRecord::kExifIfd);
        EXPECT_EQ(r.xResolution, c.xResolution);
        EXPECT_EQ(r.maker, c.maker);
    }
}

TEST(ParseExifIfd, CutsTextsToTheRecordsCapacity) {
    const std::vector<uint8_t> block = test::ExifBuilder().Ascii(271, std::string(400, 'm')).Build();
    ExifRecord r;
    ParseExifIfd(r, block.data(), block.size());
    EXPECT_EQ(r.maker, std::string(ExifRecord::kMakerCapacity, 'm'));
}

}  // namespace
}  // namespace vx
