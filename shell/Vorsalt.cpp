// The program's entry: the application object, the three windows, the message loop.
#include "Application.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Application->MainFormOnTaskBar = true;
        Application->CreateForm(F_MainTest);
        Application->CreateForm(F_Detail);
        Application->CreateForm(F_DebugInfo);
        Application->Run();
    } catch (...) {
        Application->HandleException();
    }
    return 0;
}
