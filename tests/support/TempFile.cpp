#include "support/TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

std::vector<std::string> made;

void removeMade() {
    std::error_code ignored;
    for (const std::string& dir : made)
        std::filesystem::remove_all(dir, ignored);
}

} // namespace

std::string tempDir() {
    char pattern[] = "/tmp/tolvek-test-XXXXXX";
    if (!mkdtemp(pattern))
        return "/tmp";
    if (made.empty())
        std::atexit(removeMade);
    made.push_back(pattern);
    return pattern;
}

std::string writeTempFile(const std::string& name, const std::string& text) {
    std::string path = tempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
