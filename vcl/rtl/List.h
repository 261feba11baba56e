// The class library's list of untyped pointers. Positions run from 0 to Count - 1; a position
// outside them raises EListError. The list never owns what its pointers point to.
#pragma once
#include "Exception.h"
#include <vector>

class EListError : public Exception {
public:
    using Exception::Exception;
};

// Negative when Item1 sorts before Item2, 0 when they are equal, positive after.
typedef int (*TListSortCompare)(void* Item1, void* Item2);

class TList {
public:
    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    virtual ~TList() = default;

    int Count() const { return static_cast<int>(items.size()); }
    void* Items(int index) const { return items[Checked(index)]; }
    void SetItems(int index, void* item) { items[Checked(index)] = item; }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);  // index may be Count (an append)
    void Delete(int index);
    int Remove(void* item);         // the removed position, -1 when absent
    void* Extract(void* item);      // removes it and returns it, null when absent
    int IndexOf(void* item) const;  // the first position, -1 when absent
    void Exchange(int index1, int index2);
    void Move(int from, int to);
    void Clear() {
        items.clear();
        items.shrink_to_fit();
    }
    void Pack();                          // drops the null pointers
    void Sort(TListSortCompare compare);  // stable: equal items keep their order

    int Capacity() const { return static_cast<int>(items.capacity()); }
    void SetCapacity(int capacity);

private:
    // The test is inline, the raising out of line: reading an item costs a compare.
    size_t Checked(int index) const {
        if (static_cast<size_t>(static_cast<unsigned>(index)) >= items.size())
            OutOfBounds(index);
        return static_cast<size_t>(index);
    }
    [[noreturn]] static void OutOfBounds(int index);

    std::vector<void*> items;
};
