// A report-style list view with whole-row selection: rows of a caption, an image and sub-items.
#pragma once
#include "Control.h"
#include "ImageList.h"
#include <string>

class TListView : public TWinControl {
public:
    TListView(TWinControl* parent, int id);

    void SetSmallImages(const TImageList& images) { ListView_SetImageList(Handle(), images.Handle(), LVSIL_SMALL); }
    void AddColumn(const std::string& caption, int width);

    // Adds a row at the end and returns its index.
    int AddItem(const std::string& caption, int image);
    void SetItemImage(int item, int image);
    // Column 0 is the caption, column n the n-th sub-item.
    void SetItemText(int item, int column, const std::string& text);
    // The whole text, up to MaxItemText characters.
    std::string ItemText(int item, int column) const;
    static constexpr int MaxItemText = 1 << 24;
    int ItemImage(int item) const;

    int Count() const { return ListView_GetItemCount(Handle()); }
    // The selected row, -1 when none is.
    int Selected() const { return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); }
    void Clear() { ListView_DeleteAllItems(Handle()); }

    // A double click on the list, on a row or beside the rows.
    TNotifyEvent OnDblClick;
};
