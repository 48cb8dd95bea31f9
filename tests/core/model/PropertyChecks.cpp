#include "PropertyChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace vx::test {
namespace {

PropertyValue ProbeFor(const ExpectedProperty& e, int index) {
    if (e.probe) return *e.probe;
    switch (e.type) {
        case ValueType::Short: return int16_t(300 + index);
        case ValueType::Long: return int32_t(-70000 - index);
        // Flags keep any 32-bit value: one flag member stores an index.
        case ValueType::Flag: return int32_t(70000 + index);
        case ValueType::Point: return LayoutPoint{index + 1, -(index + 2)};
        case ValueType::Rect: return LayoutRect{index, index + 1, -index, 4000 + index};
        case ValueType::Link: return PropertyValue{};
        case ValueType::Code: return uint32_t(0x41424300u + uint32_t(index));
        case ValueType::Bitmap: return PropertyValue{};
    }
    return PropertyValue{};
}

// A value of a type that the property does not have.
PropertyValue WrongTypeFor(ValueType type) {
    return type == ValueType::Point ? PropertyValue(LayoutRect{9, 9, 9, 9}) : PropertyValue(LayoutPoint{9, 9});
}

}  // namespace

PropertyValue Read(CObjNode& record, std::string_view name) {
    PropertyValue v;
    record.Access(name, false, v);
    return v;
}

std::vector<PropertyValue> ReadAll(CObjNode& record, const std::vector<ExpectedProperty>& expected) {
    std::vector<PropertyValue> values;
    for (const ExpectedProperty& e : expected)
        if (e.kind != ExpectedProperty::Normalised) values.push_back(Read(record, e.name));
    values.push_back(Read(record, "mNext"));
    return values;
}

void CheckPropertyTable(CObjNode& record, const std::vector<ExpectedProperty>& expected) {
    std::vector<std::string> names, expectedNames;
    std::vector<ValueType> types, expectedTypes;
    for (const CPropertyMember& m : record.InitPropertyNames()) {
        EXPECT_EQ(&m.Owner(), &record) << m.Name();
        names.push_back(m.Name());
        types.push_back(m.Type());
    }
    for (const ExpectedProperty& e : expected) {
        if (e.kind == ExpectedProperty::Unlisted) continue;
        expectedNames.emplace_back(e.name);
        expectedTypes.push_back(e.type);
    }
    expectedNames.emplace_back("mNext");
    expectedTypes.push_back(ValueType::Link);
    ASSERT_EQ(names, expectedNames);
    EXPECT_EQ(types, expectedTypes);

    for (const ExpectedProperty& e : expected) {
        SCOPED_TRACE(std::string(e.name));
        PropertyValue v;
        EXPECT_TRUE(record.Access(e.name, false, v));
        EXPECT_EQ(v, e.initial);
        EXPECT_TRUE(HoldsType(v, e.type));
    }
    EXPECT_EQ(Read(record, "mNext"), PropertyValue(static_cast<CObjNode*>(nullptr)));

    int index = 0;
    for (const ExpectedProperty& e : expected) {
        SCOPED_TRACE(std::string(e.name));
        std::vector<PropertyValue> before = ReadAll(record, expected);
        const PropertyValue probe = ProbeFor(e, index++);
        PropertyValue written = probe;
        EXPECT_TRUE(record.Access(e.name, true, written));
        std::vector<PropertyValue> after = ReadAll(record, expected);
        // Only the written name may have changed.
        size_t k = 0;
        for (const ExpectedProperty& other : expected) {
            if (other.kind == ExpectedProperty::Normalised) continue;
            if (&other != &e) {
                EXPECT_EQ(after[k], before[k]) << "changed by the write: " << other.name;
            }
            ++k;
        }
        if (e.kind == ExpectedProperty::ReadWrite || e.kind == ExpectedProperty::Unlisted) {
            EXPECT_EQ(Read(record, e.name), probe);
        } else if (e.kind == ExpectedProperty::ReadOnly) {
            EXPECT_EQ(after, before);
        }

        // A buffer of the wrong type is refused both ways.
        before = ReadAll(record, expected);
        PropertyValue wrong = WrongTypeFor(e.type);
        EXPECT_TRUE(record.Access(e.name, true, wrong));
        EXPECT_TRUE(record.Access(e.name, false, wrong));
        EXPECT_EQ(wrong, WrongTypeFor(e.type));
        EXPECT_EQ(ReadAll(record, expected), before);
    }

    // Names that no class of the chain knows.
    const std::vector<PropertyValue> before = ReadAll(record, expected);
    for (std::string_view unknown : {"mnext", "MNEXT", "", "m", "mUnknown", "mNext ", "Next"}) {
        SCOPED_TRACE(std::string(unknown));
        PropertyValue buffer = int32_t(12345);
        EXPECT_FALSE(record.Access(unknown, false, buffer));
        EXPECT_EQ(buffer, PropertyValue(int32_t(12345)));
        EXPECT_FALSE(record.Access(unknown, true, buffer));
    }
    for (const ExpectedProperty& e : expected) {
        std::string lower(e.name);
        lower[1] = char(lower[1] ^ 0x20);  // "mType" -> "mtype": names are case-sensitive
        PropertyValue buffer = int32_t(1);
        EXPECT_FALSE(record.Access(lower, true, buffer)) << lower;
    }
    EXPECT_EQ(ReadAll(record, expected), before);

    // "mNext" is read-only by name: lists change only through the list operations.
    PropertyValue link = static_cast<CObjNode*>(&record);
    EXPECT_TRUE(record.Access("mNext", true, link));
    EXPECT_EQ(record.GetNext(), nullptr);
}

}  // namespace vx::test
