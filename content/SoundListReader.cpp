#include "content/SoundListReader.h"

#include <string>

#include "audio/Sound.h"
#include "content/RecordReader.h"

void SoundListReader::read(RecordReader& in, const char* what, bool looping,
                           std::vector<Sound*>& out) {
    const std::string item = std::string("a ") + what;
    const int count = in.countField((item + " count").c_str());
    // Sounds are made as records arrive, so a huge count in a short file costs nothing.
    for (int i = 0; i < count && !in.failed(); ++i) {
        const std::string path = in.token((item + " path").c_str());
        const float volume = in.floatField((item + " volume").c_str());
        if (in.failed())
            return;
        Sound* sound = new Sound(path, volume, 0.0f);
        sound->load(looping, looping);
        out.push_back(sound);
    }
}
