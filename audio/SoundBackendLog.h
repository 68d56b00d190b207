#pragma once

// The audio libraries under the sound system print their device probing on
// standard error (a machine without a sound card gets a dozen lines before
// the silent fallback). The game keeps standard error for its own one-line
// messages, so that chatter is muted unless the player asks for it by
// setting ALSOFT_LOGLEVEL.
class SoundBackendLog {
public:
    // Call before the first device is opened; later calls do nothing more.
    static void quietUnlessAsked();
};
