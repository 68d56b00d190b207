#pragma once

#include <string>
#include <utility>
#include <vector>

// What a recorded play must show again at a frame: named values in a fixed
// order, one "name=value" line each.
class Checkpoint {
public:
    // Appends a value; a line break in it becomes a space.
    void add(const std::string& name, std::string value);
    std::string encode() const;
    // False when the text is not a sequence of "name=value" lines.
    bool decode(const std::string& text);
    // The first value that differs, as "name recorded vs now"; empty when none does.
    std::string differenceFrom(const Checkpoint& recorded) const;

private:
    std::vector<std::pair<std::string, std::string>> fields;
};
