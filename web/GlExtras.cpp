// GL 1.x calls the game makes that Emscripten's legacy GL emulation lacks and
// that need no more than the emulation's own calls. glPushAttrib, glPopAttrib
// and glGetTexImage read its state, so they live in library_tolvek.js.
#include <GL/gl.h>

extern "C" {

// GL's own definition of a rectangle.
void glRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    glBegin(GL_QUADS);
    glVertex2i(x1, y1);
    glVertex2i(x2, y1);
    glVertex2i(x2, y2);
    glVertex2i(x1, y2);
    glEnd();
}

// WebGL reads from the frame being drawn, which is what the game asks for
// (GL_BACK) and all there is to read; the emulation's own throws.
void glReadBuffer(GLenum) {}

} // extern "C"
