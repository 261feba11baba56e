#include "List.h"
#include <algorithm>

void TList::OutOfBounds(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TList::Add(void* item) {
    items.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index != Count())
        Checked(index);
    items.insert(items.begin() + index, item);
}

void TList::Delete(int index) {
    items.erase(items.begin() + Checked(index));
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    return Remove(item) >= 0 ? item : nullptr;
}

int TList::IndexOf(void* item) const {
    const auto at = std::find(items.begin(), items.end(), item);
    return at == items.end() ? -1 : static_cast<int>(at - items.begin());
}

void TList::Exchange(int index1, int index2) {
    std::swap(items[Checked(index1)], items[Checked(index2)]);
}

void TList::Move(int from, int to) {
    if (from == to)
        return;
    void* item = items[Checked(from)];
    Checked(to);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, item);
}

void TList::Pack() {
    items.erase(std::remove(items.begin(), items.end(), nullptr), items.end());
}

void TList::Sort(TListSortCompare compare) {
    std::stable_sort(items.begin(), items.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCapacity(int capacity) {
    if (capacity < Count())
        throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    if (static_cast<size_t>(capacity) > items.capacity()) {
        items.reserve(capacity);
    } else if (static_cast<size_t>(capacity) < items.capacity()) {
        std::vector<void*> smaller;
        smaller.reserve(capacity);
        smaller.assign(items.begin(), items.end());
        items.swap(smaller);
    }
}
