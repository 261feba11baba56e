// The library's classes are exported from Vorsalt.exe; a host that includes uJsonTree.h imports
// them. The library's own build, and every target that links it, exports.
#pragma once
#ifdef VORSALT_JSON_BUILD
#define JSON_API __declspec(dllexport)
#else
#define JSON_API __declspec(dllimport)
#endif
