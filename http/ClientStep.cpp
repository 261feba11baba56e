#include "ClientStep.h"
#include "UrlHelpers.h"

std::string ErrorTextLocation(const std::string& server, const std::string& objectPath) {
    return " (" + server + ":" + GetAspPageName(objectPath) + ")";
}
