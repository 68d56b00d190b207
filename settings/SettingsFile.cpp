#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "replay/DemoFormat.h"

namespace {

const size_t kLargestFile = 64 * 1024;
const char kBom[] = "\xEF\xBB\xBF";
// A file of nothing but bad lines says the first few and how many more.
const int kMostProblemsSaid = 10;

// A line may quote the file: its control characters are shown, never sent to the terminal.
void say(const std::string& line) {
    const std::string text = "tolvek: " + DemoFormat::printable(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkstemp's pattern is this prefix and six letters or digits.
std::string tempPrefix(const std::string& path) {
    return "." + path.substr(path.rfind('/') + 1) + ".";
}

bool isTempName(const std::string& name, const std::string& prefix) {
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
           name.find_first_not_of(letters, prefix.size()) == std::string::npos;
}

// Strict: no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut.
bool isUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        size_t more = 0;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF)
            more = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            more = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            more = 3;
        else
            return false;
        if (text.size() - at <= more)
            return false;
        unsigned int code = lead & (0x3Fu >> more);
        for (size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        const unsigned int least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        at += more + 1;
    }
    return true;
}

struct Reading {
    std::string text;
    int error = 0;             // errno when the file could not be read
    const char* why = nullptr; // set when it is not a settings file
};

Reading readAtMost64KiB(const std::string& path) {
    Reading reading;
    // Non-blocking: a pipe in the file's place must not hold up the start.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reading.error = errno;
        return reading;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0)
        reading.error = errno;
    else if (S_ISDIR(status.st_mode))
        reading.why = "a folder";
    else if (!S_ISREG(status.st_mode))
        reading.why = "not a regular file";
    char buffer[4096];
    while (!reading.error && !reading.why) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno != EINTR)
            reading.error = errno;
        if (got <= 0)
            break;
        reading.text.append(buffer, static_cast<size_t>(got));
        if (reading.text.size() > kLargestFile)
            reading.why = "larger than 64 KiB";
    }
    close(fd);
    if (reading.error || reading.why)
        return reading;
    if (reading.text.find('\0') != std::string::npos)
        reading.why = "NUL bytes";
    else if (!isUtf8(reading.text))
        reading.why = "not UTF-8 text";
    return reading;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

enum class LineKind { Nothing, Setting, Other };

LineKind readLine(const std::string& text, std::string& name, std::string& value) {
    const std::string line = trimmed(text);
    if (line.empty() || line[0] == '#' || line[0] == ';')
        return LineKind::Nothing;
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return LineKind::Other;
    name = trimmed(line.substr(0, equals));
    value = trimmed(line.substr(equals + 1));
    return isName(name) ? LineKind::Setting : LineKind::Other;
}

// "" when the format is this game's, else what to say.
std::string formatProblem(const std::string& value) {
    const size_t first = value.find_first_not_of('0');
    if (first == std::string::npos || value.find_first_not_of("0123456789") != std::string::npos)
        return "format: '" + value +
               "' is not a format number; reading the names this version knows";
    if (value.substr(first) == "1")
        return "";
    return "format " + value.substr(first) +
           ": the file is from a newer version of the game; reading the names this version knows";
}

// mkdir -p; a part that is there but no folder shows when the file is made in it.
int makeFolders(const std::string& folder) {
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        struct stat status {};
        if (stat(part.c_str(), &status) != 0 && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (end == std::string::npos)
            return 0;
    }
}

bool writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            if (wrote == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Returns an errno; `replaced` tells whether the file is the new one already.
int writeBeside(const std::string& path, const std::string& text, bool& replaced) {
    replaced = false;
    const std::string folder = folderOf(path);
    if (const int error = makeFolders(folder))
        return error;
    std::string temp = folder + "/" + tempPrefix(path) + "XXXXXX";
    const int fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (!writeAll(fd, text) || fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && std::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temp.c_str());
        return error;
    }
    replaced = true;
    // The rename itself lasts only once the folder is on disk.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return errno;
    if (fsync(dir) != 0 && errno != EINVAL) // EINVAL: a folder that cannot be synced
        error = errno;
    close(dir);
    return error;
}

} // namespace

std::string SettingsFile::defaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') // a relative one is to be ignored
        return std::string(config) + "/tolvek/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && home[0])
        return std::string(home) + "/.config/tolvek/settings.ini";
    return "";
}

SettingsFile::SettingsFile(std::string path) : filePath(std::move(path)) {}

void SettingsFile::warn(const Entry& entry, const std::string& message) const {
    say(filePath + ":" + std::to_string(entry.line) + ": " + entry.name + ": " + message);
}

void SettingsFile::load() {
    take("", true);
    onDisk.clear();
    readError = 0;
    if (filePath.empty())
        return;
    removeLeftovers();
    const Reading reading = readAtMost64KiB(filePath);
    if (reading.error == ENOENT || reading.error == ENOTDIR)
        return;
    if (reading.error) {
        readError = reading.error;
        say(filePath + ": cannot read: " + std::strerror(readError) +
            "; playing with the defaults");
        return;
    }
    if (reading.why) {
        moveAside(reading.why);
        return;
    }
    onDisk = reading.text;
    take(onDisk, false);
}

// Never over an earlier one: the first free name of .broken, .broken-2, ...
void SettingsFile::moveAside(const char* why) const {
    std::string aside;
    int error = EEXIST;
    for (int n = 1; n <= 1000 && error == EEXIST; ++n) {
        aside = filePath + ".broken" + (n > 1 ? "-" + std::to_string(n) : "");
#ifdef RENAME_NOREPLACE
        error = renameat2(AT_FDCWD, filePath.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
        error = error ? errno : 0;
#else
        error = EINVAL; // a C library without renameat2 (the browser's)
#endif
        if (error == EINVAL) { // a filesystem that cannot rename without replacing
            struct stat status {};
            error = lstat(aside.c_str(), &status) == 0 ? EEXIST : 0;
            if (!error && std::rename(filePath.c_str(), aside.c_str()) != 0)
                error = errno;
        }
    }
    std::string said = filePath + ": not a settings file (" + why + "); ";
    said += error ? std::string("cannot move it aside (") + std::strerror(error) + ")"
                  : "kept as " + aside;
    say(said + ", playing with the defaults");
}

void SettingsFile::removeLeftovers() const {
    const std::string folder = folderOf(filePath);
    const std::string prefix = tempPrefix(filePath);
    std::error_code error; // a folder that cannot be listed has nothing to remove
    std::vector<std::string> leftovers;
    for (std::filesystem::directory_iterator item(folder, error), end; !error && item != end;
         item.increment(error))
        if (isTempName(item->path().filename(), prefix))
            leftovers.push_back(item->path());
    for (const std::string& leftover : leftovers)
        unlink(leftover.c_str());
}

void SettingsFile::take(const std::string& text, bool quiet) {
    lines.clear();
    bom = text.compare(0, 3, kBom) == 0;
    std::vector<Entry> all;
    std::map<std::string, size_t> latest; // name: the entry in `all` that counts
    int problems = 0;
    const auto tell = [&](int line, const std::string& message) {
        if (!quiet && ++problems <= kMostProblemsSaid)
            say(filePath + ":" + std::to_string(line) + ": " + message);
    };
    for (size_t at = bom ? 3 : 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        Line line{text.substr(at, end - at), end < text.size() ? "\n" : "", ""};
        at = end + 1;
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending.insert(0, 1, '\r');
        }
        const int number = static_cast<int>(lines.size()) + 1;
        Entry entry{"", "", number};
        const LineKind kind = readLine(line.text, entry.name, entry.value);
        if (kind == LineKind::Other)
            tell(number, "not a 'name = value' line; kept as it is");
        if (kind == LineKind::Setting) {
            line.name = entry.name;
            const auto earlier = latest.find(entry.name);
            if (earlier != latest.end())
                tell(all[earlier->second].line, entry.name + ": given again on line " +
                                                    std::to_string(number) + ", which counts");
            latest[entry.name] = all.size();
            all.push_back(entry);
        }
        lines.push_back(line);
    }
    read.clear();
    for (size_t index = 0; index < all.size(); ++index) {
        if (latest[all[index].name] != index)
            continue;
        if (all[index].name != "format")
            read.push_back(all[index]);
        else if (!formatProblem(all[index].value).empty())
            tell(all[index].line, formatProblem(all[index].value));
    }
    if (problems > kMostProblemsSaid)
        say(filePath + ": " + std::to_string(problems - kMostProblemsSaid) +
            " more problems not said");
}

std::string SettingsFile::textFor(const Values& values) const {
    std::map<std::string, std::string> known(values.begin(), values.end());
    std::set<std::string> written;
    std::vector<Line> out;
    for (const Line& line : lines) {
        const auto value = known.find(line.name);
        if (line.name.empty() || value == known.end())
            out.push_back(line);
        else if (written.insert(line.name).second) // later ones of the same name are dropped
            out.push_back(line.name == "format"
                              ? line // a newer file keeps its number
                              : Line{line.name + " = " + value->second, line.ending, line.name});
    }
    const auto isEnding = [](const std::string& ending) {
        return ending == "\n" || ending == "\r\n";
    };
    const std::string ending = !lines.empty() && isEnding(lines[0].ending) ? lines[0].ending : "\n";
    for (const auto& [name, value] : values)
        if (written.insert(name).second) {
            out.push_back({name + " = ", ending, name});
            out.back().text += value;
        }
    std::string text = bom ? kBom : "";
    for (size_t index = 0; index < out.size(); ++index) {
        const bool last = index + 1 == out.size();
        text +=
            out[index].text + (last || isEnding(out[index].ending) ? out[index].ending : ending);
    }
    return text;
}

bool SettingsFile::cannotSave(const std::string& reason) const {
    say("cannot save the settings to " + filePath + ": " + reason +
        "; they hold until the game ends");
    return false;
}

bool SettingsFile::save(const Values& values) {
    if (filePath.empty()) {
        if (!saidNoPath)
            say("no HOME or XDG_CONFIG_HOME: the settings hold until the game ends");
        saidNoPath = true;
        return false;
    }
    for (const auto& [name, value] : values)
        if (!isName(name) || value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos ||
            trimmed(value) != value || !isUtf8(value))
            return cannotSave(name + ": would not read back as it was given");
    if (readError)
        return cannotSave(std::string("it could not be read (") + std::strerror(readError) +
                          "), so its lines would be lost");
    const std::string text = textFor(values);
    if (text == onDisk)
        return true;
    if (text.size() > kLargestFile) // the next start would put it aside
        return cannotSave("the settings would be larger than 64 KiB");
    bool replaced = false;
    const int error = writeBeside(filePath, text, replaced);
    if (replaced) {
        onDisk = text;
        take(text, true);
    }
    return error ? cannotSave(std::strerror(error)) : true;
}

bool SettingsFile::parse(const std::string& line, std::string& name, std::string& value) {
    return readLine(line, name, value) == LineKind::Setting;
}
