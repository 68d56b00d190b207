#pragma once

// What web/library_tolvek.js does in the page for the SDL layer.
extern "C" {
// Sizes the page's canvas and, the first time, makes its WebGL context with
// the legacy GL emulation on it; 0 when the browser gives none.
int tolvek_video_open(int width, int height, int depth, int stencil, int alpha, int antialias);
// Brings the page to full screen or out of it; 0 when the browser will not.
int tolvek_video_fullscreen(int on);
// Asks for full screen now, inside the key's own event.
void tolvek_request_fullscreen();
void tolvek_show_cursor(int shown);
void tolvek_set_title(const char* title);
}
