#include "CaWebSite.h"

std::string CaCertificatesPageUrl() {
    return "http://" VORSALT_CA_PAGE_HOST "/?Item=support&SubItem=certificates";
}
