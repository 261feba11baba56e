#include "ResultsText.h"

std::string ResultsText(const TRunState& run) {
    std::string text;
    for (const TCheckResult& result : run.Results) {
        text += result.Row.Image != ImagePassed ? "! " : "  ";
        text += result.Row.Caption;
        if (result.Done())
            text += std::string("[") + result.Check.Id + "]";
        text += ": " + result.Row.Info + "\r\n";
    }
    if (run.Request)
        text += "СНИЛС: \r\n" + run.SignerIdentifier() + "\r\n";
    if (!run.RecomendText.empty())
        text += "\r\n[Рекомендации]\r\n" + run.RecomendText + "\r\n";
    return text;
}
