// The results text that the support report shows: a line for each row of the run, the signer's
// identifier and the verdict.
#pragma once
#include "RunResults.h"
#include <string>

// "! " (a row that did not pass) or two blanks, the caption, "[" identifier "]" once the row's
// routine has ended, ": ", the information text and CR LF for each row; then, once a run has made
// the request record, "СНИЛС: " and the identifier on a line of its own; then the verdict under
// "[Рекомендации]" when there is one.
std::string ResultsText(const TRunState& run);
