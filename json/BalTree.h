// The member-name index of a JSON object: an AA tree (a balanced search tree in which only right
// children may share their parent's level) from names to positions in the object's item list.
// Names are ordered by their UTF-16 code units (case-sensitive, a proper prefix first) and occur
// once each. One sentinel node stands for every empty subtree. Not for two threads at once.
#pragma once
#include "JsonApi.h"
#include <cstdint>
#include <string>

struct TBalNode;
typedef TBalNode* PBalNode;
struct TBalBlock;

struct TBalNode {
    PBalNode left;   // names before nm, or the sentinel
    PBalNode right;  // names after nm, or the sentinel
    uint8_t level;   // 1 for a leaf, 0 only for the sentinel
    int32_t key;     // the position of the name's pair
    std::wstring nm;
};

class JSON_API TBalTree {
public:
    TBalTree();
    TBalTree(const TBalTree&) = delete;
    TBalTree& operator=(const TBalTree&) = delete;
    ~TBalTree();

    // False, and nothing changes, when the name is present.
    bool Insert(const std::wstring& name, int position);
    // The stored position, -1 when the name is absent.
    int IndexOf(const std::wstring& name) const;
    // Removes the name and lowers by one every stored position above its own (the positions of
    // a list that closes the gap); false when the name is absent.
    bool Delete(const std::wstring& name);
    void Clear();
    bool Empty() const { return froot == fbottom; }
    // Room for count more names in one block (an object that knows how many it will hold).
    void Reserve(int count);
    // "Balanced tree root node level is N" (0 for an empty tree).
    std::wstring counters() const;

    // The two rotations; neither touches the sentinel.
    void skew(PBalNode& t);
    void split(PBalNode& t);

private:
    PBalNode NewNode(const std::wstring& name, int position);
    void FreeNode(PBalNode t);
    bool InsertAt(PBalNode& t, const std::wstring& name, int position);
    bool DeleteAt(PBalNode& t, const std::wstring& name);
    void LowerAbove(PBalNode t, int position);

    PBalNode fdeleted;  // Delete: the node whose name matched on the way down
    PBalNode flast;     // Delete: the last node visited on the way down
    PBalNode fbottom;   // the sentinel: its children are itself, its level 0
    PBalNode froot;     // the root, or the sentinel
    TBalNode bottom;    // what fbottom points to

    // Nodes live in blocks that grow geometrically; freed nodes wait for reuse, linked by left.
    void FreeBlocks();
    TBalBlock* blocks = nullptr;  // the newest first
    int blockUsed = 0, blockSize = 0;
    PBalNode freed = nullptr;
};
