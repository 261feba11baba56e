// The system's save-file dialog, owned by a form. Filter holds pairs of a description and a
// pattern, each part ended by "|" but the last ("Text|*.txt"); FileName is the name proposed,
// and after a confirmed Execute the name chosen, as the user gave it.
#pragma once
#include "Form.h"
#include <string>

class TSaveDialog {
public:
    explicit TSaveDialog(TForm& owner) : owner_(owner) {}

    std::string Filter;
    std::wstring FileName;

    // True when the user confirmed a name; false when the dialog was cancelled or failed.
    bool Execute();

private:
    TForm& owner_;
};
