#include "CaWebSite.h"

namespace {
const char CaWebHost[] = "www.yask-ca.ru";
}

std::string CaCertificatesPageUrl() {
    return std::string("http://") + CaWebHost + "/?Item=support&SubItem=certificates";
}
