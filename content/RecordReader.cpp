#include "content/RecordReader.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "content/FieldReader.h"

namespace {

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

RecordReader::RecordReader(const std::string& fileName)
    : fileName(fileName), in(fileName.c_str(), std::ios::in | std::ios::binary),
      opened(in.is_open()) {
    if (!opened)
        failureText = "cannot open the file";
}

void RecordReader::fail(const char* what) {
    if (failureText.empty())
        failureText = std::string("missing ") + what;
}

bool RecordReader::readToken(std::string& token) {
    token.clear();
    if (failed())
        return false;
    int c = in.get();
    while (c != EOF && isSpace(c))
        c = in.get();
    while (c != EOF && !isSpace(c)) {
        token.push_back(static_cast<char>(c));
        c = in.get();
    }
    // The delimiter stays in the stream, so a following line read sees the line end.
    if (c != EOF)
        in.unget();
    else
        in.clear();
    return !token.empty();
}

bool RecordReader::readLine(std::string& line) {
    line.clear();
    if (failed())
        return false;
    if (in.peek() == EOF) {
        in.clear();
        return false;
    }
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    in.clear(in.rdstate() & ~std::ios::failbit);
    return true;
}

bool RecordReader::readBareInt(int& value) {
    value = 0;
    if (failed())
        return false;
    int c = in.get();
    while (c != EOF && isSpace(c))
        c = in.get();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = in.get();
    }
    bool digits = false;
    long long magnitude = 0;
    while (c != EOF && std::isdigit(c)) {
        digits = true;
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (c - '0');
        c = in.get();
    }
    if (c != EOF)
        in.unget();
    else
        in.clear();
    if (!digits)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    return true;
}

std::string RecordReader::token(const char* what) {
    std::string result;
    if (!readToken(result))
        fail(what);
    return result;
}

std::string RecordReader::line(const char* what) {
    std::string result;
    if (!readLine(result))
        fail(what);
    return result;
}

int RecordReader::bareInt(const char* what) {
    int value = 0;
    if (!readBareInt(value))
        fail(what);
    return value;
}

int RecordReader::intField(const char* what) {
    return FieldReader::readIntField(token(what));
}

int RecordReader::countField(const char* what) {
    const int count = intField(what);
    return count < 0 ? 0 : count;
}

float RecordReader::floatField(const char* what) {
    return static_cast<float>(FieldReader::readFloatField(token(what)));
}

std::string RecordReader::textField(const char* what) {
    return FieldReader::readTextField(token(what));
}

void RecordReader::skipRestOfLine() {
    std::string dropped;
    readLine(dropped); // reaching the end here is harmless
}
