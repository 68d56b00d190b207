#include "audio/SoundBackendLog.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {

typedef void (*AlsaErrorHandler)(const char* file, int line, const char* function, int err,
                                 const char* format, ...);
typedef int (*AlsaSetErrorHandler)(AlsaErrorHandler handler);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA is loaded by OpenAL Soft at run time, so it is reached the same way:
// the handler set here is the one the playback back-end's copy uses.
void muteAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa)
        return;
    auto setHandler =
        reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(ignoreAlsaError);
    // Kept loaded: the library now points at our handler.
}

} // namespace

void SoundBackendLog::quietUnlessAsked() {
    static bool done = false;
    if (done)
        return;
    done = true;
    if (std::getenv("ALSOFT_LOGLEVEL"))
        return;
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    muteAlsa();
}
