#pragma once

// What a command run through the shell writes on its output (the tests'
// reference tools: ImageMagick, icoutils).

#include <cstdio>
#include <string>

inline std::string CommandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    return output;
}
