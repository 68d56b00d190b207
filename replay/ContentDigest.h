#pragma once

#include <string>

// A fingerprint of every content file whose bytes can change a play (the
// level files and the images), so a recorded play is never replayed over
// other content.
class ContentDigest {
public:
    // 16 hexadecimal digits; folders that are missing count as empty.
    static std::string of(const std::string& dataDir);
};
