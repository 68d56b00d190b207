#include <gtest/gtest.h>

#include "settings/PlayerSettings.h"
#include "support/TempFile.h"

// What a hand-edited file can hold: each bad value gives that setting's default and one
// line naming the file, its line and the setting (control characters shown, not sent); the good
// ones are kept; a change saves once, and a change to nothing writes nothing.
TEST(Settings, BadValuesFallBackOneLineEachAndTheRestIsKept) {
    const std::string path = tempDir() + "/settings.ini";
    writeFile(path, "music_volume = 11\neffects_volume = 4\nfullscreen = \x1b[2Jmaybe\n"
                    "jump_key = no such key\nspray_key = x@53\nleft_pad = back\n"
                    "right_pad = lb\npause_key = none\npause_pad = none\n");
    testing::internal::CaptureStderr();
    PlayerSettings kept(path);
    const std::string said = testing::internal::GetCapturedStderr();
    for (const char* line :
         {":1: music_volume: '11' is not a volume from 0 to 10; using 10\n",
          ":3: fullscreen: '\\x1b[2Jmaybe' is neither yes nor no; using yes\n",
          ":4: jump_key: 'no such key' names no key this game can bind; using 'left ctrl'\n",
          ":6: left_pad: 'back' names no pad button this game can bind; using 'd-pad left'\n",
          ":9: pause_pad: Pause needs a key or a button; using 'p'\n"})
        EXPECT_NE(said.find("tolvek: " + path + line), std::string::npos) << said << line;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 5) << said;
    Settings expected;
    expected.effectsVolume = 4;
    expected.bindings.setKey(Action::Spray, 0, "x@53");
    expected.bindings.setButton(Action::Right, "lb");
    expected.bindings.setButton(Action::Pause, "none");
    EXPECT_TRUE(kept.current() == expected) << kept.current().text();
    const std::string before = readFile(path);
    EXPECT_TRUE(kept.commit(expected));
    EXPECT_EQ(readFile(path), before);
    expected.musicVolume = 3;
    EXPECT_TRUE(kept.commit(expected));
    PlayerSettings again(path);
    EXPECT_TRUE(again.current() == expected) << readFile(path);
}
