// The program as its forms see it: which form is the main one, whether that one has a task-bar
// button of its own, and the message box that shows an exception. The application is the one
// host (Application.h); forms know it by this alone. Without a host a form has no main form
// and an exception that reaches its window procedure is dropped.
#pragma once
#include "Exception.h"
#include <windows.h>
#include <string>

class TForm;

class TFormHost {
public:
    TFormHost(const TFormHost&) = delete;
    TFormHost& operator=(const TFormHost&) = delete;

    // The host there is now; null when there is none.
    static TFormHost* Current() { return current_; }

    // The owner of every form made after it; closing it ends the program. Null before the first.
    TForm* MainForm() const { return mainForm_; }
    HWND MainWindow() const { return mainWindow_; }

    void ShowException(const Exception& e);
    // Shows the exception being handled: an Exception as it is, any other as one with an empty message.
    // Called only from within a handler; throws nothing, even when the message cannot be shown.
    void HandleException() noexcept;
    // Owned by the active window of the program, else by the main form.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // Whether the main form, made with no owner, has a button of its own on the task bar.
    bool MainFormOnTaskBar = false;
    std::string Title = "Vorsalt";

protected:
    TFormHost() { current_ = this; }
    ~TFormHost() { current_ = nullptr; }

    void SetMainForm(TForm* form, HWND window) {
        mainForm_ = form;
        mainWindow_ = window;
    }

private:
    TForm* mainForm_ = nullptr;
    HWND mainWindow_ = nullptr;

    static TFormHost* current_;
};
