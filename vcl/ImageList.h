// An owned image list of small images.
#pragma once
#include <windows.h>
#include <commctrl.h>

class TImageList {
public:
    TImageList(int width, int height) : handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}
    ~TImageList() {
        if (handle_)
            ImageList_Destroy(handle_);
    }
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    HIMAGELIST Handle() const { return handle_; }
    int Add(HBITMAP image, HBITMAP mask) { return ImageList_Add(handle_, image, mask); }
    int Count() const { return ImageList_GetImageCount(handle_); }

private:
    HIMAGELIST handle_;
};
