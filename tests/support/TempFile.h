#pragma once

#include <string>

// Writes text to a fresh file under a new temporary folder; returns its path.
std::string writeTempFile(const std::string& name, const std::string& text);
