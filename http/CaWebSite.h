// The certification authority's web site (a build setting) that the clients name when its chain is missing.
#pragma once
#include <string>

// "http://<host>/?Item=support&SubItem=certificates"
std::string CaCertificatesPageUrl();
