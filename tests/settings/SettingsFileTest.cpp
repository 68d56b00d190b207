#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

#include "settings/SettingsFile.h"
#include "support/TempFile.h"

namespace {

const SettingsFile::Values kSaved = {{"format", "1"}, {"music", "9"}};

std::string entriesOf(const SettingsFile& file) {
    std::string text;
    for (const SettingsFile::Entry& entry : file.entries())
        text += entry.name + "=" + entry.value + "@" + std::to_string(entry.line) + " ";
    return text;
}

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir))
        names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

ino_t inodeOf(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

TEST(SettingsFile, ThePathIsXdgConfigHomesThenHomes) {
    const char* cases[][3] = {{"/c", "/h", "/c/tolvek/settings.ini"},
                              {"", "/h", "/h/.config/tolvek/settings.ini"},
                              {"c", "/h", "/h/.config/tolvek/settings.ini"}, // relative: ignored
                              {nullptr, "", ""}};
    const char* names[] = {"XDG_CONFIG_HOME", "HOME"};
    std::optional<std::string> kept[2];
    for (int at = 0; at < 2; ++at)
        kept[at] = std::getenv(names[at]) ? std::optional(std::getenv(names[at])) : std::nullopt;
    for (const auto& c : cases) {
        for (int at = 0; at < 2; ++at)
            c[at] ? setenv(names[at], c[at], 1) : unsetenv(names[at]);
        EXPECT_EQ(SettingsFile::defaultPath(), c[2]);
    }
    for (int at = 0; at < 2; ++at)
        kept[at] ? setenv(names[at], kept[at]->c_str(), 1) : unsetenv(names[at]);
}

// What is in the file's place: the entries read, the lines said, where it was put aside, what
// a save writes then ("<folder>", "<fifo>": a folder, a named pipe). A save that changes
// nothing writes nothing.
TEST(SettingsFile, AnyFileReadsAndItsOtherLinesAreSavedBackAsTheyWere) {
    std::string garbage(1 << 20, '\0');
    for (size_t at = 0; at < garbage.size(); ++at)
        garbage[at] = static_cast<char>(at * 2654435761u >> 13);
    const std::string fresh = "format = 1\nmusic = 9\n";
    const struct {
        std::string content, entries;
        int said;
        std::string aside, saved;
    } cases[] = {
        {"", "", 0, "", fresh},
        {"format = 1\nmusic = 4\nvol", "music=4@2 ", 1, "", "format = 1\nmusic = 9\nvol"},
        {std::string("music = 4\n\0\n", 12), "", 1, ".broken-2", fresh},
        {garbage, "", 1, ".broken", fresh},
        {"music = \xC3\x28\n", "", 1, ".broken", fresh},
        {"format = 1\r\nmusic = 9\r\n# mine\r\n", "music=9@2 ", 0, "",
         "format = 1\r\nmusic = 9\r\n# mine\r\n"},
        {"\xEF\xBB\xBFmusic = 4\n", "music=4@1 ", 0, "", "\xEF\xBB\xBFmusic = 9\nformat = 1\n"},
        {"music = 4\nmusic=5\n effects = 2\nmusic=6", "effects=2@3 music=6@4 ", 2, "",
         "music = 9\n effects = 2\nformat = 1\n"},
        {"Music = 4\n[audio]\n; mine\nmusic = 4\n", "music=4@4 ", 2, "",
         "Music = 4\n[audio]\n; mine\nmusic = 9\nformat = 1\n"},
        {"format = 2\nmusic = 9\nshade = blue\n", "music=9@2 shade=blue@3 ", 1, "",
         "format = 2\nmusic = 9\nshade = blue\n"},
        {"format = one\n", "", 1, "", "format = one\nmusic = 9\n"},
        {"<folder>", "", 1, ".broken", fresh},
        {"<fifo>", "", 1, ".broken", fresh}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 40));
        const std::string dir = tempDir(), path = dir + "/settings.ini";
        if (c.content == "<folder>")
            mkdir(path.c_str(), 0700);
        else if (c.content == "<fifo>")
            mkfifo(path.c_str(), 0600);
        else
            writeFile(path, c.content);
        if (c.aside == ".broken-2")
            writeFile(path + ".broken", "older");
        const ino_t before = inodeOf(path);
        SettingsFile file(path);
        testing::internal::CaptureStderr();
        file.load();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(entriesOf(file), c.entries);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said) << said;
        if (!c.aside.empty()) {
            EXPECT_NE(said.find("kept as " + path + c.aside + ", playing with the defaults"),
                      std::string::npos);
            EXPECT_TRUE(c.content[0] == '<' || readFile(path + c.aside) == c.content);
        }
        EXPECT_EQ(std::filesystem::exists(path + ".broken"), !c.aside.empty());
        EXPECT_TRUE(file.save(kSaved));
        EXPECT_EQ(readFile(path), c.saved);
        EXPECT_EQ(inodeOf(path) == before, c.content == c.saved);
        EXPECT_NE(filesIn(dir).front()[0], '.'); // no leftover of the save
    }
}

// Killed at any moment of a save, the file holds the old text or the new; the next start
// removes what the cut save left.
TEST(SettingsFile, ASaveKilledAtAnyMomentLeavesTheOldTextOrTheNew) {
    const std::string dir = tempDir(), path = dir + "/settings.ini";
    const SettingsFile::Values texts[] = {{{"format", "1"}, {"keys", "k"}},
                                          {{"format", "1"}, {"keys", std::string(2000, 'k')}}};
    SettingsFile first(path);
    ASSERT_TRUE(first.save(texts[0]));
    const std::string old = readFile(path);
    ASSERT_TRUE(first.save(texts[1]));
    const std::string young = readFile(path);
    for (int round = 0; round < 300; ++round) {
        int saves[2];
        ASSERT_EQ(pipe(saves), 0);
        const pid_t child = fork();
        if (child == 0) {
            SettingsFile file(path);
            file.load();
            for (int n = 0;; ++n)
                if (!file.save(texts[n % 2]) || write(saves[1], "+", 1) != 1)
                    _exit(1);
        }
        close(saves[1]);
        char done = 0;
        for (int n = 0; n < round % 8 && read(saves[0], &done, 1) == 1; ++n) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(round * 397 % 3000)); // into a save
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(saves[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";
        const std::string now = readFile(path);
        ASSERT_TRUE(now == old || now == young)
            << "kill " << round << ": " << now.size() << " bytes";
    }
    SettingsFile(path).load();
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"settings.ini"});
}

// Saves that cannot be made: one line each, false, the old file whole and nothing left beside.
TEST(SettingsFile, ASaveThatCannotBeMadeSaysSoAndLeavesTheOldFileWhole) {
    testing::internal::CaptureStderr();
    SettingsFile nowhere(""), device("/dev/full/settings.ini");
    nowhere.load();
    device.load();
    EXPECT_FALSE(nowhere.save(kSaved) || nowhere.save(kSaved) || device.save(kSaved));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tolvek: no HOME or XDG_CONFIG_HOME: the settings hold until the game ends\n"
              "tolvek: cannot save the settings to /dev/full/settings.ini: Not a directory; they "
              "hold until the game ends\n");
    const std::string dir = tempDir(), path = writeFile(dir + "/settings.ini", "# mine\n");
    const auto whole = [&] { return readFile(path) == "# mine\n" && filesIn(dir).size() == 1; };
    const auto fillTheDisk = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{200, 200}; // the line said goes to a file too
        setrlimit(RLIMIT_FSIZE, &limit);
        SettingsFile file(path);
        file.load();
        _exit(!file.save({{"keys", std::string(300, 'k')}}) && whole() ? 0 : 1);
    };
    EXPECT_EXIT(fillTheDisk(), testing::ExitedWithCode(0),
                "^tolvek: cannot save the settings to .*: File too large; they hold until the "
                "game ends\n$");
    // As a player, whom permissions hold (root's are ignored).
    ASSERT_TRUE(geteuid() != 0 ||
                (chown(dir.c_str(), 65534, 65534) == 0 && chown(path.c_str(), 65534, 65534) == 0));
    const auto withoutPermission = [&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        SettingsFile file(path);
        file.load();
        chmod(dir.c_str(), 0500);
        bool failed = !file.save(kSaved);
        chmod(dir.c_str(), 0700);
        chmod(path.c_str(), 0);
        file.load();
        failed = failed && file.entries().empty() && !file.save(kSaved);
        chmod(path.c_str(), 0600);
        _exit(failed && whole() ? 0 : 1);
    };
    EXPECT_EXIT(withoutPermission(), testing::ExitedWithCode(0),
                "^tolvek: cannot save .*: Permission denied; they hold until the game ends\n"
                "tolvek: .*settings.ini: cannot read: Permission denied; playing with the "
                "defaults\ntolvek: cannot save .*: it could not be read .*\n$");
}

} // namespace
