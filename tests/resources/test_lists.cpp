#include <gtest/gtest.h>

#include <vector>

#include "kernel/core/strutils.h"
#include "resources/registry_fixture.h"

namespace {

class ListTest : public RegistryTest {
protected:
    tTestActor* Actor(const char* Params) { return NewObject<tTestActor>(ShortString(Params)); }
    static ShortString Order(const tList& L) {
        ShortString S;
        for (int32_t I = 1; I <= L.GetTotalItems(); ++I) S += static_cast<tTestActor*>(L.GetObject(I))->Params;
        return S;
    }
};

}  // namespace

TEST_F(ListTest, PositionsAreOneBasedAndItemsAppend) {
    tList L("tTestActor");
    EXPECT_TRUE(L.IsEmpty());
    tZObject* A = Actor("a");
    tTestActor* B = Actor("b");
    L.AddItem(A->AllocateListItem());
    L.AddFirstItem(B->AllocateListItem());
    L.AddItem(nullptr);
    EXPECT_EQ(Order(L), "ab");
    EXPECT_EQ(L.GetItem(0), nullptr);
    EXPECT_EQ(L.GetItem(3), nullptr);
    EXPECT_EQ(L.GetObject(-1), nullptr);
    EXPECT_EQ(L.GetListItemsClass(), "tTestActor");

    tObjectsList Copy;
    Copy.AddList(L);
    EXPECT_EQ(Copy.GetTotalItems(), 2);
    EXPECT_NE(Copy.GetItem(1), L.GetItem(1));
    EXPECT_EQ(Copy.GetObject(1), A);

    L.DeallocateItem(A);
    EXPECT_EQ(A, nullptr);
    EXPECT_EQ(Order(L), "b");
    Copy.RemoveItem(Copy.GetObject(1));
    L.DeallocateAllItems();
    EXPECT_TRUE(L.IsEmpty());
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 0);
}

TEST_F(ListTest, RemovingAndShiftingKeepTheOrder) {
    tObjectsList L;
    std::vector<tTestActor*> Items;
    for (const char* P : {"a", "b", "c", "d"}) {
        Items.push_back(Actor(P));
        L.AddItem(Items.back()->AllocateListItem());
    }
    L.ShiftToEnd(Items[1]);
    EXPECT_EQ(Order(L), "acdb");
    L.RemoveItem(Items[2]);
    EXPECT_EQ(Order(L), "adb");
    L.RemoveFirstItem();
    EXPECT_EQ(Order(L), "db");
    EXPECT_TRUE(L.IsItemOnList(Items[1]));
    EXPECT_FALSE(L.IsItemOnList(Items[0]));
    EXPECT_EXIT(L.RemoveItem(Items[0]), ::testing::ExitedWithCode(255), "Item not found in the list");
    EXPECT_EXIT(L.ShiftToEnd(Items[2]), ::testing::ExitedWithCode(255), "Item not found in the list");
    L.RemoveAllItems();
    L.RemoveFirstItem();
    EXPECT_TRUE(L.IsEmpty());
    for (tTestActor*& A : Items) tZObject::DisposeObject(A);
}

TEST_F(ListTest, ItemsAreCheckedOnEntry) {
    tList Actors("tTestActor");
    tObjectsList Any;
    tZObject* Plain = NewObject<tZObject>();
    tTestActor* A = Actor("a");
    EXPECT_EXIT(Actors.AddItem(Plain->AllocateListItem()), ::testing::ExitedWithCode(255),
                "This list is for tTestActor only");
    Any.AddItem(A->AllocateListItem());
    EXPECT_EXIT(Actors.AddItem(Any.GetItem(1)), ::testing::ExitedWithCode(255),
                "This item is already on another list");
    Any.RemoveAllItems();
    tZObject::DisposeObject(Plain);
    tZObject::DisposeObject(A);
}

TEST_F(ListTest, SortIsStable) {
    tObjectsList L;
    for (const char* P : {"3a", "1a", "2a", "1b", "3b", "2b"}) L.AddItem(Actor(P)->AllocateListItem());
    L.Sort([](const tListItem* A, const tListItem* B) {
        return static_cast<tTestActor*>(A->ItemElement)->Params[0] > static_cast<tTestActor*>(B->ItemElement)->Params[0];
    });
    EXPECT_EQ(Order(L), "1a1b2a2b3a3b");
    L.DeallocateAllItems();
}

TEST_F(ListTest, GrowsByDoubling) {
    tObjectsList L;
    tZObject* Obj = NewObject<tZObject>();
    for (int I = 0; I <= tList::InitialSpace; ++I) L.AddItem(Obj->AllocateListItem());
    EXPECT_EQ(L.GetTotalItems(), 1001);
    EXPECT_EQ(L.GetAllocatedSpace(), 2000);
    EXPECT_EQ(L.GetObject(1001), Obj);
    EXPECT_NE(ReadWholeFile("engine.log").find("Reallocating list pool to 2000 items"), std::string::npos);
    L.RemoveAllItems();
    tZObject::DisposeObject(Obj);
}
