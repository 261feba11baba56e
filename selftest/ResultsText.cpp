#include "ResultsText.h"
#include "CheckTable.h"

int RowCheckIndex(const std::string& id) {
    if (id.empty() || id.size() > 9)
        return -1;
    int value = 0;
    for (char c : id) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value < TestTableSize ? value : -1;
}

std::string ResultsText(const std::vector<TResultRow>& rows, bool requestMade, const std::string& identifier,
                        const std::string& recomendText) {
    std::string text;
    for (const TResultRow& row : rows) {
        text += row.Image != 0 ? "! " : "  ";
        text += row.Caption;
        const int index = RowCheckIndex(row.Id);
        if (index >= 0)
            text += std::string("[") + TestIds[index] + "]";
        text += ": " + row.Info + "\r\n";
    }
    if (requestMade)
        text += "СНИЛС: \r\n" + identifier + "\r\n";
    if (!recomendText.empty())
        text += "\r\n[Рекомендации]\r\n" + recomendText + "\r\n";
    return text;
}
