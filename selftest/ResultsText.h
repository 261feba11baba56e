// The results text that the support report shows: one line per row of the main window's list,
// the signer's identifier and the verdict; and the check that a row belongs to.
#pragma once
#include <string>
#include <vector>

// A row of the list as a run leaves it.
struct TResultRow {
    std::string Caption;
    int Image;         // 0 passed, 1 failed, 2 warning, 3 running
    std::string Info;  // the first sub-item; empty while the check is about to run
    std::string Id;    // the hidden second sub-item, the check's index in decimal; empty likewise
};

// The check index in a row's hidden column: decimal digits that make a number from 0 to 11;
// -1 for anything else (an empty column included).
int RowCheckIndex(const std::string& id);

// "! " (a row that did not pass) or two blanks, the caption, "[" identifier "]" when the row has
// a check index, ": ", the information text and CR LF for each row; then, once a run has made the
// request record, "СНИЛС: " and the identifier on a line of its own; then the verdict under
// "[Рекомендации]" when there is one.
std::string ResultsText(const std::vector<TResultRow>& rows, bool requestMade, const std::string& identifier,
                        const std::string& recomendText);
