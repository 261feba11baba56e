#include "BalTree.h"

TBalTree::TBalTree() : bottom{&bottom, &bottom, 0, 0, std::wstring()}
{
    fbottom = &bottom;
    froot = fdeleted = flast = fbottom;
}

TBalTree::~TBalTree() { Clear(); }

void TBalTree::skew(PBalNode& t)
{
    if (t == fbottom || t->left->level != t->level) return;
    PBalNode left = t->left;
    t->left = left->right;
    left->right = t;
    t = left;
}

void TBalTree::split(PBalNode& t)
{
    if (t == fbottom || t->right->right->level != t->level) return;
    PBalNode right = t->right;
    t->right = right->left;
    right->left = t;
    t = right;
    ++t->level;
}

bool TBalTree::Insert(const std::wstring& name, int position) { return InsertAt(froot, name, position); }

bool TBalTree::InsertAt(PBalNode& t, const std::wstring& name, int position)
{
    if (t == fbottom) {
        t = new TBalNode{fbottom, fbottom, 1, position, name};
        return true;
    }
    const int order = name.compare(t->nm);
    if (order == 0) return false;
    const bool inserted = order < 0 ? InsertAt(t->left, name, position) : InsertAt(t->right, name, position);
    skew(t);
    split(t);
    return inserted;
}

int TBalTree::IndexOf(const std::wstring& name) const
{
    for (PBalNode t = froot; t != fbottom;) {
        const int order = name.compare(t->nm);
        if (order == 0) return t->key;
        t = order < 0 ? t->left : t->right;
    }
    return -1;
}

bool TBalTree::Delete(const std::wstring& name)
{
    fdeleted = fbottom;
    return DeleteAt(froot, name);
}

bool TBalTree::DeleteAt(PBalNode& t, const std::wstring& name)
{
    if (t == fbottom) return false;
    flast = t;
    bool deleted;
    if (name.compare(t->nm) < 0) {
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
        delete gone;
        return true;
    }
    if (t->left->level < t->level - 1 || t->right->level < t->level - 1) {
        --t->level;
        if (t->right->level > t->level) t->right->level = t->level;
        skew(t);
        skew(t->right);
        skew(t->right->right);
        split(t);
        split(t->right);
    }
    return deleted;
}

void TBalTree::LowerAbove(PBalNode t, int position)
{
    for (; t != fbottom; t = t->right) {
        if (t->key > position) --t->key;
        LowerAbove(t->left, position);
    }
}

void TBalTree::Clear()
{
    FreeNodes(froot);
    froot = fdeleted = flast = fbottom;
}

void TBalTree::FreeNodes(PBalNode t)
{
    while (t != fbottom) {
        FreeNodes(t->left);
        PBalNode right = t->right;
        delete t;
        t = right;
    }
}

std::wstring TBalTree::counters() const
{
    return L"Balanced tree root node level is " + std::to_wstring(froot->level);
}
