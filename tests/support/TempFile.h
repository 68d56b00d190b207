#pragma once

#include <string>

// A fresh, empty folder for a test's files, removed when the tests end.
std::string tempDir();
// Writes text to a fresh file in a new folder; returns its path.
std::string writeTempFile(const std::string& name, const std::string& text);
