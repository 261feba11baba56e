#include "SaveDialog.h"
#include "Text.h"
#include <commdlg.h>
#include <vector>

bool TSaveDialog::Execute() {
    std::wstring filter = vcl::ToWide(Filter);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.append(2, L'\0');  // the list ends with an empty part

    std::vector<wchar_t> name(32768, L'\0');  // as long as any path
    FileName.copy(name.data(), name.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_.Handle();
    dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return false;
    FileName = name.data();
    return true;
}
