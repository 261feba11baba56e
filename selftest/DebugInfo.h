// The support report window. The instance made at start-up is never shown.
#pragma once
#include "Form.h"

class TF_DebugInfo : public TForm {
public:
    TF_DebugInfo();
};

extern "C" TF_DebugInfo* F_DebugInfo;
