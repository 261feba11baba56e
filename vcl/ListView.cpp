#include "ListView.h"
#include "Form.h"
#include "Text.h"

TListView::TListView(TWinControl* parent, int id)
    : TWinControl(parent, id, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP,
                  WS_EX_CLIENTEDGE) {
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT);
    Form()->OnNotify(id, NM_DBLCLK, [this] {
        if (OnDblClick)
            OnDblClick(this);
    });
}

void TListView::AddColumn(const std::string& caption, int width) {
    std::wstring text = vcl::ToWide(caption);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = width;
    col.pszText = text.data();
    col.iSubItem = Header_GetItemCount(ListView_GetHeader(Handle()));
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, col.iSubItem, reinterpret_cast<LPARAM>(&col));
}

int TListView::AddItem(const std::string& caption, int image) {
    std::wstring text = vcl::ToWide(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    item.pszText = text.data();
    item.iImage = image;
    return static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void TListView::SetItemImage(int index, int image) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::SetItemText(int index, int column, const std::string& text) {
    std::wstring wide = vcl::ToWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(Handle(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

std::string TListView::ItemText(int index, int column) const {
    // The control tells only how much it copied: a text that fills the buffer is read again into
    // a larger one.
    for (int size = 4096;; size *= 2) {
        std::wstring buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = size;
        const int length = static_cast<int>(
            SendMessageW(Handle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
        if (length < size - 1 || size >= MaxItemText) {
            buffer.resize(length);
            return vcl::ToAnsi(buffer);
        }
    }
}

int TListView::ItemImage(int index) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    return SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}
