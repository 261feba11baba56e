#include "CertApi.h"

TCertApi TCertApi::Real() {
    return {::LocalAlloc, ::CertDuplicateCertificateContext, ::CertGetCertificateChain, ::CryptDecodeObject,
            ::CertAddCRLContextToStore};
}
