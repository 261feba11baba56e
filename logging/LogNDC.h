// The nested diagnostic context: a stack of texts per thread, keyed by the thread identifier in
// decimal. Every operation holds one library-wide lock; each thread sees only its own stack.
#pragma once
#include "LogObject.h"
#include <string>
#include <vector>

namespace HierLog {

using TLogStringList = std::vector<std::string>;

class HIERLOG_API TLogNDC {
public:
    TLogNDC() = delete;

    static void Clear();
    static void CloneStack(TLogStringList& context);
    static int GetDepth();
    static void Inherit(const TLogStringList* context);
    // The entries from the oldest to the innermost joined by "|"; empty without any.
    static std::string Peek();
    static std::string Pop();
    static void Push(const std::string& context);
    static void Remove();
    static void SetMaxDepth(int maxDepth);
    static std::string GetThreadId();
    // The calling thread's position in the context map, -1 when it has none.
    static int GetNDCIndex();
};

}  // namespace HierLog
