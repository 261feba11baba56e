// Pieces of URLs and object paths: the page name shown in error texts and the URL split of the
// clients that post their own requests.
#pragma once
#include <string>

// Text between the last "/" and the last ".asp" (or the end); "" when the path has no "/".
std::string GetAspPageName(std::string path);

// "scheme://host[:port]/path": scheme keeps its colon, path loses its leading "/". Null outputs
// are not produced; without a port output a port stays part of the host. False without "//"
// (nothing written) or without a "/" after the host (only the scheme written).
bool SplitUrl(std::string url, std::string* host, std::string* path, std::string* scheme, std::string* port);
