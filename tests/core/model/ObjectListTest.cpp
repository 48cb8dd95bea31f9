#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

// A list of items named by one letter each; owns what it holds.
struct TestList {
    CLayoutObj* head = nullptr;

    explicit TestList(std::string_view names = "") {
        for (char c : names) {
            auto item = Make(c);
            EXPECT_TRUE(AppendObject(&head, item));
        }
    }
    ~TestList() {
        while (RemoveLastObject(&head)) {
        }
    }
    static std::unique_ptr<CLayoutObj> Make(char name, bool newId = true) {
        return std::make_unique<CTextObj>(newId, std::string(1, name));
    }
    std::string Names() const {
        std::string s;
        for (const CLayoutObj* p = head; p; p = p->NextItem()) s += p->GetName();
        return s;
    }
};

TEST(ObjectList, InsertObjectAtTakesIndexesUpToTheLastAndOneInAListOfOne) {
    struct Case { const char* list; int index; bool ok; const char* after; };
    for (const Case& c : {Case{"", 0, true, "X"}, Case{"", 1, false, ""}, Case{"A", 0, true, "XA"},
                          Case{"A", 1, true, "AX"}, Case{"A", 2, false, "A"}, Case{"ABC", 0, true, "XABC"},
                          Case{"ABC", 1, true, "AXBC"}, Case{"ABC", 2, true, "ABXC"},
                          Case{"ABC", 3, false, "ABC"}, Case{"ABC", -1, false, "ABC"}}) {
        SCOPED_TRACE(std::string(c.list) + " at " + std::to_string(c.index));
        TestList list(c.list);
        auto x = TestList::Make('X');
        CLayoutObj* raw = x.get();
        EXPECT_EQ(InsertObjectAt(&list.head, x, c.index), c.ok);
        EXPECT_EQ(list.Names(), c.after);
        // A refused record stays the caller's, in no list.
        EXPECT_EQ(x.get(), c.ok ? nullptr : raw);
    }
}

TEST(ObjectList, RemovalsUnlinkAndClearTheLink) {
    struct Case { const char* list; int index; const char* removed; const char* after; };
    for (const Case& c : {Case{"ABC", 0, "A", "BC"}, Case{"ABC", 1, "B", "AC"}, Case{"ABC", 2, "C", "AB"},
                          Case{"ABC", 3, "", "ABC"}, Case{"ABC", -1, "", "ABC"}, Case{"", 0, "", ""},
                          Case{"A", 0, "A", ""}}) {
        SCOPED_TRACE(std::string(c.list) + " at " + std::to_string(c.index));
        TestList list(c.list);
        std::unique_ptr<CLayoutObj> removed = RemoveObjectAt(&list.head, c.index);
        EXPECT_EQ(removed ? removed->GetName() : "", c.removed);
        if (removed) {
            EXPECT_EQ(removed->GetNext(), nullptr);
        }
        EXPECT_EQ(list.Names(), c.after);
    }
    TestList list("ABC");
    auto last = RemoveLastObject(&list.head);
    EXPECT_EQ(last->GetName(), "C");
    EXPECT_EQ(list.Names(), "AB");
    auto byId = RemoveObjectById(&list.head, list.head);
    EXPECT_EQ(byId->GetName(), "A");
    EXPECT_EQ(byId->GetNext(), nullptr);
    EXPECT_EQ(list.Names(), "B");
}

TEST(ObjectList, LookupsCountAndFindByIndexKindAndId) {
    TestList list;
    std::unique_ptr<CLayoutObj> items[] = {std::make_unique<CImageObj>(true, "i"),
                                           std::make_unique<CCutLineObj>(true, "c"),
                                           std::make_unique<CTextObj>(true, "t"),
                                           std::make_unique<CLineObj>(true, "l"),
                                           std::make_unique<CImageObj>(true, "j")};
    const uint32_t textId = items[2]->GetObjectId();
    for (auto& item : items) ASSERT_TRUE(AppendObject(&list.head, item));

    EXPECT_EQ(CountObjects(&list.head), 5);
    EXPECT_EQ(CountObjectsOfKind(&list.head, 0x51), 4);  // every kind but the cut line
    EXPECT_EQ(CountObjectsOfKind(&list.head, kKindImage), 2);
    EXPECT_EQ(GetObjectAt(&list.head, 0)->GetName(), "i");
    EXPECT_EQ(GetObjectAt(&list.head, 4)->GetName(), "j");
    EXPECT_EQ(GetObjectAt(&list.head, 5), nullptr);
    EXPECT_EQ(GetObjectAt(&list.head, -1), nullptr);
    EXPECT_EQ(GetObjectOfKindAt(&list.head, 1, kKindImage)->GetName(), "j");
    EXPECT_EQ(GetObjectOfKindAt(&list.head, 2, 0x51)->GetName(), "l");
    EXPECT_EQ(GetObjectOfKindAt(&list.head, 4, 0x51), nullptr);
    EXPECT_EQ(FindObjectById(&list.head, textId)->GetName(), "t");
    EXPECT_EQ(FindObjectById(&list.head, 0), nullptr);

    TestList empty;
    EXPECT_EQ(CountObjects(&empty.head), 0);
    EXPECT_EQ(GetObjectAt(&empty.head, 0), nullptr);
    EXPECT_EQ(RemoveLastObject(&empty.head), nullptr);
}

TEST(ObjectList, ANullHeadAddressDoesNothing) {
    auto x = TestList::Make('X');
    EXPECT_EQ(CountObjects(nullptr), 0);
    EXPECT_EQ(CountObjectsOfKind(nullptr, 0xFF), 0);
    EXPECT_EQ(GetObjectAt(nullptr, 0), nullptr);
    EXPECT_EQ(GetObjectOfKindAt(nullptr, 0, 0xFF), nullptr);
    EXPECT_EQ(FindObjectById(nullptr, x->GetObjectId()), nullptr);
    EXPECT_FALSE(AppendObject(nullptr, x));
    EXPECT_FALSE(InsertObjectAt(nullptr, x, 0));
    EXPECT_FALSE(InsertObjectBefore(nullptr, nullptr, x));
    EXPECT_EQ(RemoveLastObject(nullptr), nullptr);
    EXPECT_EQ(RemoveObjectAt(nullptr, 0), nullptr);
    EXPECT_EQ(RemoveObjectById(nullptr, x.get()), nullptr);
    EXPECT_NE(x, nullptr);
}

TEST(ObjectList, ARemovedHeadJoinsAnotherListAlone) {
    TestList first("ABC"), second("XY");
    std::unique_ptr<CLayoutObj> a = RemoveObjectAt(&first.head, 0);
    ASSERT_TRUE(AppendObject(&second.head, a));
    EXPECT_EQ(first.Names(), "BC");
    EXPECT_EQ(second.Names(), "XYA");
    std::unique_ptr<CLayoutObj> b = RemoveObjectById(&first.head, first.head);
    ASSERT_TRUE(InsertObjectAt(&second.head, b, 1));
    EXPECT_EQ(first.Names(), "C");
    EXPECT_EQ(second.Names(), "XBYA");
}

TEST(ObjectList, ARecordAlreadyInTheListIsRefused) {
    TestList list("ABC");
    for (int at : {0, 1, 2}) {
        std::unique_ptr<CLayoutObj> alias(GetObjectAt(&list.head, at));
        EXPECT_FALSE(AppendObject(&list.head, alias));
        EXPECT_FALSE(InsertObjectAt(&list.head, alias, 0));
        EXPECT_FALSE(InsertObjectBefore(&list.head, list.head, alias));
        alias.release();
    }
    EXPECT_EQ(list.Names(), "ABC");
}

TEST(ObjectList, InsertObjectBeforeAnElementOrAtTheEnd) {
    TestList list("ABC"), other("Q");
    struct Case { char name; const CLayoutObj* before; const char* after; };
    const CLayoutObj* b = GetObjectAt(&list.head, 1);
    for (const Case& c : {Case{'X', b, "AXBC"}, Case{'Y', list.head, "YAXBC"},
                          Case{'Z', other.head, "YAXBCZ"}, Case{'W', nullptr, "YAXBCZW"}}) {
        auto item = TestList::Make(c.name);
        ASSERT_TRUE(InsertObjectBefore(&list.head, c.before, item));
        EXPECT_EQ(list.Names(), c.after);
    }
}

TEST(ObjectList, RemovingARecordWithIdZeroRemovesThatRecord) {
    TestList list;
    auto first = TestList::Make('A', false), second = TestList::Make('B', false);
    const CLayoutObj* b = second.get();
    ASSERT_TRUE(AppendObject(&list.head, first));
    ASSERT_TRUE(AppendObject(&list.head, second));
    std::unique_ptr<CLayoutObj> removed = RemoveObjectById(&list.head, b);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(list.Names(), "A");
    // An id-0 record of another list matches nothing here.
    auto stranger = TestList::Make('S', false);
    EXPECT_EQ(RemoveObjectById(&list.head, stranger.get()), nullptr);
    EXPECT_EQ(FindObjectById(&list.head, 0)->GetName(), "A");
}

TEST(ObjectList, InsertObjectAfterFindsTheKeyOrAppends) {
    TestList list("abc");
    const uint32_t b = list.head->NextItem()->GetObjectId();
    const uint32_t c = list.head->NextItem()->NextItem()->GetObjectId();
    auto x = TestList::Make('x');
    EXPECT_TRUE(InsertObjectAfter(&list.head, b, x));
    EXPECT_FALSE(x) << "taken";
    EXPECT_EQ(list.Names(), "abxc");
    auto y = TestList::Make('y');
    EXPECT_TRUE(InsertObjectAfter(&list.head, c, y));
    EXPECT_EQ(list.Names(), "abxcy");
    auto z = TestList::Make('z');
    EXPECT_TRUE(InsertObjectAfter(&list.head, 0xFFFFFFFFu, z));
    EXPECT_EQ(list.Names(), "abxcyz") << "an unknown key appends";
    std::unique_ptr<CLayoutObj> again(list.head);
    EXPECT_FALSE(InsertObjectAfter(&list.head, c, again)) << "a record the list holds";
    (void)again.release();
    EXPECT_EQ(list.Names(), "abxcyz");
}

}  // namespace
}  // namespace vx
