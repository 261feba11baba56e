#include "LogNDC.h"
#include "LogLibrary.h"
#include "LogLock.h"
#include <windows.h>
#include <algorithm>
#include <utility>

namespace HierLog {

namespace {

struct ContextMap {
    // Ordered by thread key, searched by halves.
    std::vector<std::pair<std::string, TLogStringList>> stacks;

    int IndexOf(const std::string& key) const {
        auto it = std::lower_bound(stacks.begin(), stacks.end(), key,
                                   [](const auto& entry, const std::string& k) { return entry.first < k; });
        return it != stacks.end() && it->first == key ? static_cast<int>(it - stacks.begin()) : -1;
    }
    TLogStringList* Find(const std::string& key) {
        const int index = IndexOf(key);
        return index < 0 ? nullptr : &stacks[index].second;
    }
    TLogStringList& Make(const std::string& key) {
        auto it = std::lower_bound(stacks.begin(), stacks.end(), key,
                                   [](const auto& entry, const std::string& k) { return entry.first < k; });
        if (it == stacks.end() || it->first != key)
            it = stacks.insert(it, {key, {}});
        return it->second;
    }
};

TLogLock* ndcLock = nullptr;
ContextMap* contexts = nullptr;

std::string Joined(const TLogStringList* stack) {
    std::string text;
    if (!stack)
        return text;
    for (size_t i = 0; i < stack->size(); ++i) {
        if (i)
            text += '|';
        text += (*stack)[i];
    }
    return text;
}

// Holds the lock while the library's context state stands; nothing to do otherwise.
class Held {
public:
    Held() : lock(ndcLock) {
        if (lock)
            lock->Enter();
    }
    ~Held() {
        if (lock)
            lock->Leave();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    explicit operator bool() const { return lock && contexts; }

private:
    TLogLock* lock;
};

}  // namespace

namespace Internal {
void StartNDCLock() {
    ndcLock = new TLogLock;
}
void StartNDCMap() {
    contexts = new ContextMap;
}
void EndNDCMap() {
    Held held;
    delete contexts;
    contexts = nullptr;
}
void EndNDCLock() {
    delete ndcLock;
    ndcLock = nullptr;
}
}  // namespace Internal

std::string TLogNDC::GetThreadId() {
    return std::to_string(GetCurrentThreadId());
}

int TLogNDC::GetNDCIndex() {
    Held held;
    return held ? contexts->IndexOf(GetThreadId()) : -1;
}

void TLogNDC::Push(const std::string& context) {
    Held held;
    if (held)
        contexts->Make(GetThreadId()).push_back(context);
}

std::string TLogNDC::Peek() {
    Held held;
    return held ? Joined(contexts->Find(GetThreadId())) : std::string();
}

std::string TLogNDC::Pop() {
    Held held;
    if (!held)
        return {};
    TLogStringList* stack = contexts->Find(GetThreadId());
    const std::string text = Joined(stack);
    if (stack && !stack->empty())
        stack->pop_back();
    return text;
}

void TLogNDC::Clear() {
    Held held;
    if (!held)
        return;
    if (TLogStringList* stack = contexts->Find(GetThreadId()))
        stack->clear();
}

int TLogNDC::GetDepth() {
    Held held;
    if (!held)
        return 0;
    const TLogStringList* stack = contexts->Find(GetThreadId());
    return stack ? static_cast<int>(stack->size()) : 0;
}

void TLogNDC::SetMaxDepth(int maxDepth) {
    Held held;
    if (!held)
        return;
    TLogStringList* stack = contexts->Find(GetThreadId());
    if (!stack)
        return;
    const size_t keep = maxDepth > 0 ? static_cast<size_t>(maxDepth) : 0;
    if (stack->size() > keep)
        stack->resize(keep);
}

void TLogNDC::CloneStack(TLogStringList& context) {
    Held held;
    const TLogStringList* stack = held ? contexts->Find(GetThreadId()) : nullptr;
    context = stack ? *stack : TLogStringList();
}

void TLogNDC::Inherit(const TLogStringList* context) {
    Held held;
    if (held && context)
        contexts->Make(GetThreadId()) = *context;
}

void TLogNDC::Remove() {
    Held held;
    if (!held)
        return;
    const int index = contexts->IndexOf(GetThreadId());
    if (index >= 0)
        contexts->stacks.erase(contexts->stacks.begin() + index);
}

}  // namespace HierLog
