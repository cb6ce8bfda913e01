#include "kernel/objects/lists.h"

#include <algorithm>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/zobject.h"

tList::tList(const ShortString& Class) : ItemsClass(Class) {
    ProcTrace trace("tList.Init(" + Class + ")");
    // The cells come with the first item: many lists stay empty. Cells past
    // TotalItems are never read: left unfilled, the pages of a list that
    // stays short are never touched.
}

tList::~tList() {
    ProcTrace trace("tList.Done()");
    RemoveAllItems();
}

ShortString tList::GetListItemsClass() const { return ItemsClass; }

void tList::AddItem(tListItem* Item) {
    if (!Item) return;
    // Every object made passes here: the message is built only for a refusal.
    if (!Item->ItemElement || !Item->ItemElement->DynamicCast(ItemsClass))
        Logger->Fatal("This list is for " + ItemsClass + " only");
    if (Item->Owned) Logger->Fatal("This item is already on another list");
    if (!Items) {
        Items = std::make_unique_for_overwrite<tListItem*[]>(AllocatedSpace);
    } else if (TotalItems == AllocatedSpace) {
        int32_t Space = AllocatedSpace * 2;
        auto Grown = std::make_unique_for_overwrite<tListItem*[]>(Space);
        std::copy_n(Items.get(), TotalItems, Grown.get());
        Items = std::move(Grown);
        AllocatedSpace = Space;
        Logger->Log("Reallocating list pool to " + Int2Str(Space) + " items");
    }
    Item->Owned = true;
    Items[TotalItems++] = Item;
}

void tList::AddFirstItem(tListItem* Item) { AddItem(Item); }

void tList::AddList(const tList& Other) {
    for (int32_t I = 1; I <= Other.GetTotalItems(); ++I) AddItem(Other.GetObject(I)->AllocateListItem());
}

void tList::FreeCell(int32_t Index) {
    delete Items[Index];
    std::copy(Items.get() + Index + 1, Items.get() + TotalItems, Items.get() + Index);
    --TotalItems;
}

void tList::RemoveFirstItem() {
    if (TotalItems > 0) FreeCell(0);
}

int32_t tList::IndexOf(const tZObject* Obj) const {
    for (int32_t I = 0; I < TotalItems; ++I)
        if (Items[I]->ItemElement == Obj) return I;
    return -1;
}

void tList::RemoveItem(const tZObject* Obj) {
    ProcTrace trace("tList.RemoveItem()");
    int32_t Index = IndexOf(Obj);
    if (Index < 0) Logger->Fatal("Item not found in the list");
    FreeCell(Index);
}

bool tList::RemoveLatest(const tZObject* Obj) {
    for (int32_t I = TotalItems - 1; I >= 0; --I)
        if (Items[I]->ItemElement == Obj) {
            FreeCell(I);
            return true;
        }
    return false;
}

void tList::RemoveAllItems() {
    for (int32_t I = 0; I < TotalItems; ++I) delete Items[I];
    TotalItems = 0;
}

void tList::DeallocateItem(tZObject*& Obj) {
    RemoveItem(Obj);
    tZObject::DisposeObject(Obj);
}

void tList::DeallocateAllItems() {
    for (int32_t I = 0; I < TotalItems; ++I) {
        tZObject* Element = Items[I]->ItemElement;
        tZObject::DisposeObject(Element);
        delete Items[I];
    }
    TotalItems = 0;
}

void tList::ShiftToEnd(const tZObject* Obj) {
    ProcTrace trace("tList.ShiftToEnd()");
    int32_t Index = IndexOf(Obj);
    if (Index < 0) Logger->Fatal("Item not found in the list");
    std::rotate(Items.get() + Index, Items.get() + Index + 1, Items.get() + TotalItems);
}

void tList::Sort(const tListItemsComparator& Comparator) {
    for (int32_t Pass = 0; Pass < TotalItems; ++Pass) {
        bool Swapped = false;
        for (int32_t J = 0; J + 1 < TotalItems; ++J) {
            if (Comparator(Items[J], Items[J + 1])) {
                std::swap(Items[J], Items[J + 1]);
                Swapped = true;
            }
        }
        if (!Swapped) break;
    }
}

bool tList::IsItemOnList(const tZObject* Obj) const { return IndexOf(Obj) >= 0; }

tListItem* tList::GetItem(int32_t I) const { return (I < 1 || I > TotalItems) ? nullptr : Items[I - 1]; }

tZObject* tList::GetObject(int32_t I) const {
    tListItem* Item = GetItem(I);
    return Item ? Item->ItemElement : nullptr;
}

int32_t tList::GetTotalItems() const { return TotalItems; }

bool tList::IsEmpty() const { return TotalItems == 0; }
