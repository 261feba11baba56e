// The JSON library as a host program includes it: the value tree, its member-name index, the
// parser, the generators, streams and files.
#pragma once
#include "BalTree.h"
#include "Json.h"
#include "JsonObject.h"
