// The CRLs named by a certificate: downloaded over plain HTTP from its distribution points and
// added to the current user's "CA" store. Texts are cp1251; a null errorText sends them to
// VYRNLog.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include <vector>

// The URLs of the certificate's CRL distribution points: points in order, within a point the URL
// entries of its full name in order. 0 (an empty list without the extension), 1 the extension
// does not decode, 2 no memory.
int GetCRLDistributionPoints(PCCERT_CONTEXT cert, std::vector<std::string>& urls, std::string* errorText);

// The CRL at the URL (the caller frees it), fetched with GET over plain HTTP at port 80 of the
// URL's host whatever its scheme, a body in DER or base64; null with the reason in *errorText.
// The CA's files "ca-kqmr(2)", "ca-kqmr(4)" and "ca-kqmr(6)" are never requested.
PCCRL_CONTEXT GetCRLFromURL(const std::string& url, std::string* errorText);

// Tries the certificate's URLs in order, the first one that holds the site text first, until a
// CRL goes into "CA" (or the store holds it or a newer one already); then the certificate's
// issuer must be found. 0 when a CRL went in or there is no URL (*errorText emptied); 1 the store
// did not open, 2 the certificate was not duplicated, 3 the points were not read or the CRL was
// refused, 5 no URL gave a CRL (the last URL's text) or the issuer was not found.
int InstallCRLFromSite(const std::string& site, PCCERT_CONTEXT cert, std::string* errorText);
