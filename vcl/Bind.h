// Binds a button to an action: the button shows the action's caption and executes it when clicked.
#pragma once
#include "Action.h"
#include "Button.h"
#include "Form.h"

inline void BindAction(TButton& button, TAction& action) {
    button.SetCaption(action.Caption);
    button.SetEnabled(action.HasHandler());
    button.Form()->OnCommand(button.Id(), [&action] { action.Execute(); });
}
