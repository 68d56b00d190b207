#include "replay/Checkpoint.h"

#include <algorithm>

void Checkpoint::add(const std::string& name, std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    fields.emplace_back(name, value);
}

std::string Checkpoint::encode() const {
    std::string text;
    for (const auto& [name, value] : fields) {
        text += name;
        text += '=';
        text += value;
        text += '\n';
    }
    return text;
}

bool Checkpoint::decode(const std::string& text) {
    fields.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t equals = text.find('=', start);
        if (end == std::string::npos || equals == std::string::npos || equals > end)
            return false;
        fields.emplace_back(text.substr(start, equals - start),
                            text.substr(equals + 1, end - equals - 1));
        start = end + 1;
    }
    return true;
}

std::string Checkpoint::differenceFrom(const Checkpoint& recorded) const {
    const size_t count = std::max(fields.size(), recorded.fields.size());
    for (size_t i = 0; i < count; ++i) {
        const bool mine = i < fields.size(), theirs = i < recorded.fields.size();
        if (mine && theirs && fields[i] == recorded.fields[i])
            continue;
        const std::string& name = mine ? fields[i].first : recorded.fields[i].first;
        return name + " " + (theirs ? "\"" + recorded.fields[i].second + "\"" : "(none)") + " vs " +
               (mine ? "\"" + fields[i].second + "\"" : "(none)");
    }
    return std::string();
}
