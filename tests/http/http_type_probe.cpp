// Prints the back-end that the factory chooses in this process: its type and display name.
#include "HttpFactory.h"
#include <cstdio>

int main() {
    const THttpType type = GetHttpType();
    std::printf("%d %s\n", type, HttpTypeName(static_cast<unsigned>(type)));
    return 0;
}
