#include "RunPlan.h"
#include "Endpoints.h"

Endpoints SelectEndpoints(int tag) {
    Endpoints e{VORSALT_SERVICE_HOST, VORSALT_TRAINING_HOST,   VORSALT_ALTERNATIVE_HOST,        VORSALT_CA_WEB_HOST,
                "aca/rootca3.p7b",    VORSALT_ALT_CA_WEB_HOST, "certificates/ca-velta-test.p7b"};
    if (tag == TagTraining) {
        e.ServiceHost = e.TrainingHost;
    } else if (tag == TagAlternative) {
        e.ServiceHost = e.AlternativeHost;
        e.CaWebHost = e.AltCaWebHost;
        e.ChainPath = e.AltChainPath;
    }
    return e;
}

RowContent RowFor(const CheckTexts& texts, int r, const std::string& info) {
    if (r == 0)
        return {texts.Running, ImagePassed, texts.Passed ? texts.Passed : info};
    return {texts.Result, r == 100 ? ImageWarning : ImageFailed, info};
}
