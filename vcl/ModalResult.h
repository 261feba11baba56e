// The result of a form's modal display: none while it lasts, else what ended it (a button's
// modal result, or mrCancel when the form was closed).
#pragma once

constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;
