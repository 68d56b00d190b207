#include "graphics/BitmapPicture.h"

#include <GL/gl.h>
#include <SDL/SDL_image.h>

#include "graphics/Shape.h"
#include "graphics/SurfaceConverter.h"

BitmapPicture::BitmapPicture(const std::string& fileName, const GraphicProperties& properties,
                             Shape* shape, int flip)
    : flip(flip), fileName(fileName) {
    this->properties = properties;
    this->shape = shape;
}

BitmapPicture::~BitmapPicture() {
    unloadTexture();
}

bool BitmapPicture::loadTexture() {
    SDL_Surface* loaded = IMG_Load(fileName.c_str());
    SDL_Surface* rgba = SurfaceConverter::toRgba(loaded);
    if (loaded && loaded != rgba)
        SDL_FreeSurface(loaded);
    if (!rgba)
        return false; // keep whatever was loaded before, or nothing

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    texture = name;
    width = static_cast<float>(rgba->w);
    height = static_cast<float>(rgba->h);
    SDL_FreeSurface(rgba);
    return true;
}

void BitmapPicture::unloadTexture() {
    if (texture != 0) {
        GLuint name = texture;
        glDeleteTextures(1, &name);
    }
    texture = 0;
    width = 0.0f;
    height = 0.0f;
}

Shape* BitmapPicture::createShape() {
    return anchoredRectangle(properties.getAnchor());
}

void BitmapPicture::draw() {
    if (texture == 0)
        return;
    const Position& a = properties.getAnchor();
    const float ax = a.getX(), ay = a.getY();
    const float w = width, h = height, z = properties.getDepth();
    const float s0 = texOrigin.getX(), t0 = texOrigin.getY();
    const float ds = texWidth, dt = texHeight;
    const float fx = static_cast<float>(flip & 1) * ds;
    const float fy = static_cast<float>((flip >> 1) & 1) * dt;

    float m[16];
    properties.getMatrix(m);
    glPushMatrix();
    glMultMatrixf(m);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, drawAlpha());
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(s0 + fx, t0 + dt - fy);
    glVertex3f(-ax, -ay, z);
    glTexCoord2f(s0 + ds - fx, t0 + dt - fy);
    glVertex3f(w - ax, -ay, z);
    glTexCoord2f(s0 + ds - fx, t0 + fy);
    glVertex3f(w - ax, h - ay, z);
    glTexCoord2f(s0 + fx, t0 + fy);
    glVertex3f(-ax, h - ay, z);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
