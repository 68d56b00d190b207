#include "support/TempFile.h"

#include <fstream>

#include "support/TestImage.h"

std::string writeTempFile(const std::string& name, const std::string& text) {
    const std::string path = TestImage::tempDir() + "/" + name;
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
    return path;
}
