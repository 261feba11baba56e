// Demo run without a display: starts Vorsalt.exe, makes a run, and saves the screen while the
// verdict is shown and after it is closed, as BMP files in the given folder.
#include "MainIds.h"
#include "RemoteWindow.h"
#include <cstdio>
#include <vector>

namespace {

bool SaveScreen(const std::wstring& path) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = (w * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * h);
    GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    fwrite(&file, sizeof file, 1, f);
    fwrite(&info, sizeof info, 1, f);
    fwrite(pixels.data(), 1, pixels.size(), f);
    return fclose(f) == 0;
}

// A failed step is told in one line on the standard error, and the exit code is 2.
int Failed(const char* step) {
    std::fprintf(stderr, "demo run failed: %s\n", step);
    return 2;
}

int Failed(const char* step, DWORD timeoutMs) {
    char text[128];
    std::snprintf(text, sizeof text, "%s within %lu s", step, static_cast<unsigned long>(Scaled(timeoutMs) / 1000));
    return Failed(text);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    TRemoteProgram program(L"Vorsalt.exe");
    if (!program.Started())
        return Failed("Vorsalt.exe did not start");
    if (!program.Window())
        return program.WaitForExit(0) ? Failed("Vorsalt.exe ended before its main window appeared")
                                      : Failed("no main window", TRemoteProgram::MainWindowTimeoutMs);
    program.Command(ID_mni_N18);
    const DWORD verdictTimeoutMs = 60000;
    HWND box = program.WaitForMessageBox(L"Результаты тестирования", verdictTimeoutMs);
    if (!box)
        return program.WaitForExit(0) ? Failed("Vorsalt.exe ended before its verdict")
                                      : Failed("no verdict", verdictTimeoutMs);
    Sleep(500);
    if (!SaveScreen(folder + L"\\verdict.bmp"))
        return Failed("screenshot not made: verdict.bmp");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    Sleep(500);
    if (!SaveScreen(folder + L"\\finished.bmp"))
        return Failed("screenshot not made: finished.bmp");
    return 0;
}
