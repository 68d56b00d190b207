/* stb_image's PNG decoder, compiled once for the browser build. Its
   warnings are third-party code's, not ours to fix. */
#pragma clang diagnostic ignored "-Weverything"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
