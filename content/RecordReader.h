#pragma once

#include <fstream>
#include <string>

// Forward-only reads of a content file: tokens, lines, bare integers and
// labelled values. The first read that finds nothing marks the reader as
// failed; every later read then yields its default, so a broken file leaves
// the objects built so far with their defaults. failure() tells which item
// was missing.
class RecordReader {
public:
    explicit RecordReader(const std::string& fileName);

    bool isOpen() const { return opened; }
    bool failed() const { return !failureText.empty(); }
    const std::string& failure() const { return failureText; }
    const std::string& getFileName() const { return fileName; }

    // The next run of non-whitespace characters, however long.
    bool readToken(std::string& token);
    // Up to the next line feed; a carriage return before it is dropped.
    bool readLine(std::string& line);
    // Optional sign and decimal digits after any whitespace; clamped to int.
    bool readBareInt(int& value);

    // Reads with a description of the item, used in the failure text.
    std::string token(const char* what);
    std::string line(const char* what);
    int bareInt(const char* what);
    int intField(const char* what);
    // A count of following items; negative counts read as none.
    int countField(const char* what);
    float floatField(const char* what);
    std::string textField(const char* what);
    void skipRestOfLine();
    // Gives the file back before the reader goes out of scope.
    void close() { in.close(); }

private:
    void fail(const char* what);

    std::string fileName;
    std::ifstream in;
    bool opened;
    std::string failureText;
};
