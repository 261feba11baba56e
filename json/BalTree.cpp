#include "BalTree.h"
#include <new>

// One allocation: the header, then size nodes.
struct TBalBlock {
    TBalBlock* next;
    int size;
    TBalNode* Nodes() { return reinterpret_cast<TBalNode*>(this + 1); }
};

TBalTree::TBalTree() : bottom{&bottom, &bottom, 0, 0, std::wstring()} {
    fbottom = &bottom;
    froot = fdeleted = flast = fbottom;
}

TBalTree::~TBalTree() {
    FreeBlocks();
}

namespace {

// Ordinal order of UTF-16 code units; a proper prefix first.
inline int Order(const std::wstring& a, const std::wstring& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    const wchar_t* p = a.data();
    const wchar_t* q = b.data();
    for (size_t i = 0; i < n; ++i)
        if (p[i] != q[i])
            return p[i] < q[i] ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

void TBalTree::Reserve(int count) {
    if (count <= blockSize - blockUsed)
        return;
    void* memory = ::operator new(sizeof(TBalBlock) + sizeof(TBalNode) * count);
    auto* block = new (memory) TBalBlock{blocks, count};
    for (int i = 0; i < count; ++i)
        new (&block->Nodes()[i]) TBalNode();
    blocks = block;
    blockUsed = 0;
    blockSize = count;
}

void TBalTree::FreeBlocks() {
    while (TBalBlock* block = blocks) {
        blocks = block->next;
        for (int i = 0; i < block->size; ++i)
            block->Nodes()[i].~TBalNode();
        block->~TBalBlock();
        ::operator delete(block);
    }
    blockUsed = blockSize = 0;
    freed = nullptr;
}

PBalNode TBalTree::NewNode(const std::wstring& name, int position) {
    PBalNode t = freed;
    if (t != nullptr) {
        freed = t->left;
    } else {
        if (blockUsed == blockSize)
            Reserve(blockSize < 4 ? 4 : blockSize * 2);
        t = &blocks->Nodes()[blockUsed++];
    }
    t->left = t->right = fbottom;
    t->level = 1;
    t->key = position;
    t->nm = name;
    return t;
}

void TBalTree::FreeNode(PBalNode t) {
    t->left = freed;
    freed = t;
}

void TBalTree::skew(PBalNode& t) {
    if (t == fbottom || t->left->level != t->level)
        return;
    PBalNode left = t->left;
    t->left = left->right;
    left->right = t;
    t = left;
}

void TBalTree::split(PBalNode& t) {
    if (t == fbottom || t->right->right->level != t->level)
        return;
    PBalNode right = t->right;
    t->right = right->left;
    right->left = t;
    t = right;
    ++t->level;
}

bool TBalTree::Insert(const std::wstring& name, int position) {
    return InsertAt(froot, name, position);
}

bool TBalTree::InsertAt(PBalNode& t, const std::wstring& name, int position) {
    if (t == fbottom) {
        t = NewNode(name, position);
        return true;
    }
    const int order = Order(name, t->nm);
    if (order == 0)
        return false;
    const bool inserted = order < 0 ? InsertAt(t->left, name, position) : InsertAt(t->right, name, position);
    skew(t);
    split(t);
    return inserted;
}

int TBalTree::IndexOf(const std::wstring& name) const {
    for (PBalNode t = froot; t != fbottom;) {
        const int order = Order(name, t->nm);
        if (order == 0)
            return t->key;
        t = order < 0 ? t->left : t->right;
    }
    return -1;
}

bool TBalTree::Delete(const std::wstring& name) {
    fdeleted = fbottom;
    return DeleteAt(froot, name);
}

bool TBalTree::DeleteAt(PBalNode& t, const std::wstring& name) {
    if (t == fbottom)
        return false;
    flast = t;
    bool deleted;
    if (Order(name, t->nm) < 0) {
        deleted = DeleteAt(t->left, name);
    } else {
        fdeleted = t;
        deleted = DeleteAt(t->right, name);
    }
    if (t == flast && fdeleted != fbottom && name == fdeleted->nm) {
        // t is the in-order neighbour that takes the matched node's place.
        LowerAbove(froot, fdeleted->key);
        fdeleted->key = t->key;
        fdeleted->nm = t->nm;
        PBalNode gone = t;
        t = t->right;
        FreeNode(gone);
        return true;
    }
    if (t->left->level < t->level - 1 || t->right->level < t->level - 1) {
        --t->level;
        if (t->right->level > t->level)
            t->right->level = t->level;
        skew(t);
        skew(t->right);
        skew(t->right->right);
        split(t);
        split(t->right);
    }
    return deleted;
}

void TBalTree::LowerAbove(PBalNode t, int position) {
    for (; t != fbottom; t = t->right) {
        if (t->key > position)
            --t->key;
        LowerAbove(t->left, position);
    }
}

void TBalTree::Clear() {
    FreeBlocks();
    froot = fdeleted = flast = fbottom;
}

std::wstring TBalTree::counters() const {
    return L"Balanced tree root node level is " + std::to_wstring(froot->level);
}
