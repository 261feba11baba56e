// A queue shared between threads, oldest item first, optionally bounded (the oldest item
// gives way to a new one when full). Every access takes the queue's own lock.
#pragma once
#include "CEnterCryticalSection.h"
#include <deque>

template <typename T>
class SafeVector {
public:
    // maximum 0: no bound.
    explicit SafeVector(int maximum) : maximum(maximum) { InitializeCriticalSection(&lock); }
    ~SafeVector() { DeleteCriticalSection(&lock); }
    SafeVector(const SafeVector&) = delete;
    SafeVector& operator=(const SafeVector&) = delete;

    void Push(T item) {
        CEnterCryticalSection guard(&lock);
        if (maximum != 0 && static_cast<int>(items.size()) >= maximum)
            items.pop_front();
        items.push_back(std::move(item));
    }

    // Takes the oldest item; false (item untouched) when there is none. Test and removal
    // happen under one lock, so threads emptying the queue together never take the same item.
    bool PopFront(T& item) {
        CEnterCryticalSection guard(&lock);
        if (items.empty())
            return false;
        item = std::move(items.front());
        items.pop_front();
        return true;
    }

    int Count() {
        CEnterCryticalSection guard(&lock);
        return static_cast<int>(items.size());
    }

private:
    std::deque<T> items;
    int maximum;
    CRITICAL_SECTION lock;
};
