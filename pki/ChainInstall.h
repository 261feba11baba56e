// The certification authority's chain: a PKCS#7 file downloaded from its web site, whose
// certificates go into the current user's system stores, the self-issued ones into "Root" and
// the others into "CA", each of those after its CRLs (CrlInstall.h). Texts are cp1251; a null
// errorText sends them to VYRNLog. Certificates installed before a failure stay installed.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

class TAllHTTP;

// GETs the chain at chainPath through the client, which the caller has connected to the
// authority's web server, and installs it with InstallCertChainToStore (the client's server
// name as the site). 0 installed; 4 the download failed ("Не удается скачать актуальную цепочку
// сертификатов. Ошибка:\r\n" and the client's text); 5 the body is no PKCS#7 message; 6 the
// installation failed (its text).
int InstallActualChainFromSite(TAllHTTP& client, const std::string& chainPath, std::string* errorText);

// Installs the certificates of source, in its order; a certificate whose subject and issuer have
// the same common name (as CertNameIn128 reads them) counts as self-issued. Present ones count as
// added. When Windows does not add a root because the user declined it, asks in a Yes/No box
// "Внимание!" whether to try again. 0 all went in; 1 "CA" or 2 "Root" did not open; 3 "Root" or
// 4 "CA" refused a certificate; 1223 the user gave up on a root. CRL failures only go to VYRNLog.
int InstallCertChainToStore(HCERTSTORE source, const std::string& site, std::string* errorText);
