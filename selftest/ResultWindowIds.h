// Fixed control ids of the result detail and support report windows (the tests find them by these).
#pragma once

namespace DetailIds {
enum {
    Label1 = 3001,
    E_Category,
    Label2,
    E_Crytycal,
    lbl1,
    mmoInfo,
    lbl2,
    MemoError,
    B_OK,
};
}  // namespace DetailIds

namespace DebugInfoIds {
enum {
    MemoInfo = 4001,
    B_Save,
    B_OK,
};
}  // namespace DebugInfoIds
