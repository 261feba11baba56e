// A whole file's bytes; "" when it cannot be read.
#pragma once
#include <fstream>
#include <sstream>
#include <string>

inline std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
