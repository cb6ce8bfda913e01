#pragma once
// tList: the engine's ordered container of tZObject elements, 1-based from the
// outside (GetItem(1) is the first). Every element sits in a tListItem cell; a
// cell belongs to one list at a time and never owns its element. Typed lists
// derive from tList with their items class ("tSubSystem", ...), which every
// element must DynamicCast to.

#include <cstdint>
#include <functional>
#include <memory>

#include "kernel/core/shortstring.h"

class tZObject;

class tListItem {
public:
    explicit tListItem(tZObject* Element) : ItemElement(Element) {}
    virtual ~tListItem() = default;
    tListItem(const tListItem&) = delete;
    tListItem& operator=(const tListItem&) = delete;

    bool Owned = false;  // already on a list
    tZObject* ItemElement;
};

// True when A must come after B.
using tListItemsComparator = std::function<bool(const tListItem* A, const tListItem* B)>;

class tList {
public:
    static constexpr int32_t InitialSpace = 1000;

    explicit tList(const ShortString& ItemsClass);
    virtual ~tList();
    tList(const tList&) = delete;
    tList& operator=(const tList&) = delete;

    virtual ShortString GetListItemsClass() const;
    // A nil item is ignored.
    virtual void AddItem(tListItem* Item);
    // Appends, like AddItem.
    virtual void AddFirstItem(tListItem* Item);
    // New cells for the other list's elements, appended in its order.
    virtual void AddList(const tList& Other);
    virtual void RemoveFirstItem();
    // Frees the first cell carrying Obj; fatal when there is none.
    virtual void RemoveItem(const tZObject* Obj);
    // Frees the last cell carrying Obj, searching from the end, where the
    // youngest elements are (short-lived objects leave the registry's graph
    // soon after they joined it); false when there is none.
    bool RemoveLatest(const tZObject* Obj);
    virtual void RemoveAllItems();
    // Removes Obj's cell and disposes Obj.
    virtual void DeallocateItem(tZObject*& Obj);
    // Disposes every element in order and frees every cell.
    virtual void DeallocateAllItems();
    // Moves the first cell carrying Obj to the end; fatal when there is none.
    virtual void ShiftToEnd(const tZObject* Obj);
    // Stable bubble sort.
    virtual void Sort(const tListItemsComparator& Comparator);
    virtual bool IsItemOnList(const tZObject* Obj) const;
    virtual tZObject* GetObject(int32_t I) const;
    // Cell at 1-based position I; nullptr when out of range.
    virtual tListItem* GetItem(int32_t I) const;
    virtual int32_t GetTotalItems() const;
    virtual bool IsEmpty() const;

    int32_t GetAllocatedSpace() const { return AllocatedSpace; }

protected:
    // 0-based index of the first cell carrying Obj, -1 when absent.
    int32_t IndexOf(const tZObject* Obj) const;
    void FreeCell(int32_t Index);

    ShortString ItemsClass;
    std::unique_ptr<tListItem*[]> Items;
    int32_t TotalItems = 0;
    int32_t AllocatedSpace = InitialSpace;
};

class tObjectsList : public tList {
public:
    tObjectsList() : tList("tZObject") {}
};
