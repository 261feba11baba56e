// The application object: the forms it owns and the message loop; the forms' host (FormHost.h).
#pragma once
#include "Form.h"
#include "FormHost.h"
#include <memory>
#include <vector>

class TApplication final : public TFormHost {
public:
    void Initialize();

    // Makes a form and stores it in ref; the first form made becomes the main form.
    template <class T>
    void CreateForm(T*& ref) {
        auto form = std::make_unique<T>();
        ref = form.get();
        if (!MainForm())
            SetMainForm(ref, ref->Handle());
        forms_.push_back(std::move(form));
    }

    // Shows the main form and dispatches messages until it is closed.
    void Run();
    // Dispatches the messages that are pending now, then returns.
    void ProcessMessages();

private:
    std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication* Application;
