// An action: a caption, a tag and an execute handler shared by the buttons and menu items bound
// to it. Its clients are disabled while it has no handler.
#pragma once
#include "Component.h"

class TAction : public TComponent {
public:
    TAction(std::string name, std::string caption, int tag = 0)
        : TComponent(std::move(name)), Caption(std::move(caption)) {
        Tag = tag;
    }
    void Execute() {
        if (OnExecute)
            OnExecute(this);
    }
    bool HasHandler() const { return static_cast<bool>(OnExecute); }

    std::string Caption;
    TNotifyEvent OnExecute;
};
