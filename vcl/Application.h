// The application object: the forms it owns, the message loop and the standard exception box.
#pragma once
#include "Exception.h"
#include "Form.h"
#include <memory>
#include <string>
#include <vector>

class TApplication {
public:
    void Initialize();

    // Makes a form and stores it in ref; the first form made becomes the main form.
    template <class T>
    void CreateForm(T*& ref) {
        auto form = std::make_unique<T>();
        ref = form.get();
        if (!mainForm_)
            mainForm_ = ref;
        forms_.push_back(std::move(form));
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form and dispatches messages until it is closed.
    void Run();
    // Dispatches the messages that are pending now, then returns.
    void ProcessMessages();

    void ShowException(const Exception& e);
    // Shows the exception being handled: an Exception as it is, any other as one with an empty message.
    // Called only from within a handler; throws nothing, even when the message cannot be shown.
    void HandleException() noexcept;
    // Owned by the active window of the program, else by the main form.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    bool MainFormOnTaskBar = false;
    std::string Title = "Vorsalt";

private:
    std::vector<std::unique_ptr<TForm>> forms_;
    TForm* mainForm_ = nullptr;
};

extern TApplication* Application;
