#include <gtest/gtest.h>

#include "app/Application.h"
#include "support/TempFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kViewport = "Levels/Viewport.xml", kMenu = "Levels/Menu.ini",
                  kHero = "Levels/Heros.ini", kLevel = "Levels/Niveau1.ini",
                  kLayouts = "Levels/Layouts.ini", kLayout = "Levels/Layout1.ini";

// The game's reads, run inside a copy of its data folder (levels copied, the rest linked).
struct BrokenContent : testing::Test {
    void SetUp() override {
        for (const fs::directory_entry& entry : fs::directory_iterator(TOLVEK_GAME_DATA))
            if (entry.path().filename() != "Levels")
                fs::create_directory_symlink(entry.path(), dir / entry.path().filename());
        fs::copy(fs::path(TOLVEK_GAME_DATA) / "Levels", dir / "Levels");
        fs::current_path(dir);
    }
    void TearDown() override { fs::current_path(previous); }
    // The line the game refuses the content with, less its "tolvek: "; "" when it loads.
    static std::string refusal() {
        Application game;
        const std::string why = game.readViewport();
        return why.empty() ? game.loadScreens() : why;
    }
    // A refusal in one line naming the file; "<file>: <what it says>" is added to seen if new.
    static void refused(const std::string& file, std::string& seen) {
        const std::string why = refusal();
        const size_t named = why.rfind(file + ": ", 0) == 0 ? 0 : why.rfind("./" + file + ": ", 0);
        ASSERT_EQ(named, 0u) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
        const std::string line = file + why.substr(why.find(": ")) + "\n";
        if (("\n" + seen).find("\n" + line) == std::string::npos)
            seen += line;
    }

    const fs::path previous = fs::current_path(), dir = tempDir();
};

} // namespace

// Every file cut before each line and inside each line of several tokens, and impossible counts.
TEST_F(BrokenContent, AFileCutAnywhereOrWithImpossibleCountsIsRefusedInOneLineNamingIt) {
    const std::string files[] = {kViewport, kMenu, kHero, kLevel, kLayouts, kLayout};
    std::string seen;
    for (const std::string& file : files) {
        if (file == kLayout) // the layout the level picks
            writeFile(kLayouts, "Target layouts count:1 " + kLayout + "\n");
        const std::string whole = readFile(file);
        for (size_t at = 0, end = 0; at < whole.size(); at = end + 1) {
            end = std::min(whole.find('\n', at), whole.size());
            writeFile(file, whole.substr(0, at));
            refused(file, seen);
            std::istringstream line(whole.substr(at, end - at));
            const std::vector<std::string> words(std::istream_iterator<std::string>{line},
                                                 std::istream_iterator<std::string>{});
            if (words.size() < 2)
                continue;
            std::string half = words[0];
            for (size_t i = 1; i < words.size() / 2; ++i)
                half += " " + words[i];
            writeFile(file, whole.substr(0, at) + half);
            refused(file, seen);
        }
        writeFile(file, whole);
    }
    EXPECT_EQ(seen, readFile(TOLVEK_TEST_FIXTURES "/refusals.txt")); // each new line, in order
    // Counts too large for the file (the viewport's are LoaderXML's); Layouts.ini as left above.
    const std::tuple<std::string, std::string, std::string, std::string> edits[] = {
        {kLevel, "count:8", "count:2000000000", "missing a platform's x"},
        {kLevel, "count:9", "count:2147483647", "missing a projectile image path"},
        {kHero, "frames:8 8", "frames:2000000000 8", "missing a cell index"},
        {kHero, "Landing count:1", "Landing count:99999999999", "missing a sound path"},
        {kLayouts, "count:1", "count:1000000000", "missing a layout file name"},
        {kLayout, "count:5", "count:500000000", "missing a target image path"}};
    for (const auto& [file, old, text, expected] : edits) {
        const std::string whole = readFile(file);
        const size_t at = whole.find(old);
        ASSERT_NE(at, std::string::npos) << old;
        writeFile(file, whole.substr(0, at) + text + whole.substr(at + old.size()));
        seen.clear();
        refused(file, seen);
        EXPECT_EQ(seen.substr(seen.find(": ") + 2), expected + "\n") << text; // file named above
        writeFile(file, whole);
    }
    EXPECT_EQ(refusal(), ""); // the untouched content loads
}
