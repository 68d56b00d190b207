/* stb_vorbis's decoder, compiled once for the browser build. */
#include <stb/stb_vorbis.h>
