#pragma once

#include <stdlib.h>

#include <string>

namespace KramoFuzz {

// A folder of the fuzzing run's own for the files the readers are given, ending with '/'.
inline const std::string& WorkFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/kramo-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp") + "/";
    }();
    return folder;
}

}  // namespace KramoFuzz
