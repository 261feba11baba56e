// The result detail window. The instance made at start-up is never shown.
#pragma once
#include "Form.h"

class TF_Detail : public TForm {
public:
    TF_Detail();
};

extern "C" TF_Detail* F_Detail;
