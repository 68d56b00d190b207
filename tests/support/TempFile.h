#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh, empty folder for a test's files, removed when the tests end.
inline std::string tempDir() {
    static std::vector<std::string> made;
    char pattern[] = "/tmp/tolvek-test-XXXXXX";
    if (!mkdtemp(pattern))
        return "/tmp";
    if (made.empty())
        std::atexit([] {
            std::error_code ignored;
            for (const std::string& dir : made)
                std::filesystem::remove_all(dir, ignored);
        });
    made.push_back(pattern);
    return pattern;
}

inline std::string readFile(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

inline std::string writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

inline std::string writeTempFile(const std::string& name, const std::string& text) {
    return writeFile(tempDir() + "/" + name, text);
}
