#pragma once

#include <string>

// Writes a small but complete hero file (and its strip image) for tests:
// 16 x 32 cells, walking 2.5 px per frame, a jump of start speed 12 (peak about 120 px).
namespace HeroFixture {

constexpr float kWidth = 16;
constexpr float kHeight = 32;

// The folder holding the file; crlf chooses the line ends.
std::string writeHeroFile(bool crlf, const std::string& soundPath = "missing.ogg");

// The hero file text itself.
std::string heroFileText(const std::string& stripPath, const std::string& soundPath);

} // namespace HeroFixture
