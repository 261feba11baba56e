// The test run: walks the checks, keeps each row's result, the recommendations and the verdict,
// and shows them through IRunView, so the walk runs the same without a window.
#pragma once
#include "CheckTable.h"
#include "RunResults.h"
#include "RunView.h"
#include <vector>

// Runs the checks for the tag. Ignored while a run is in progress. Exceptions of the class library's
// class inside a check fail its row; any other ends the run without a verdict and goes on up.
void RunTests(int tag, IRunView& view, TRunState& state, const std::vector<TCheck>& checks = BuiltInChecks());
