#pragma once

#include <string>

// A fresh, empty folder for a test's files, removed when the tests end.
std::string tempDir();
std::string writeTempFile(const std::string& name, const std::string& text);
