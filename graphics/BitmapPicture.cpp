#include "graphics/BitmapPicture.h"

#include <GL/gl.h>
#include <SDL/SDL_image.h>
#include <algorithm>

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
    SDL_Surface* image = IMG_Load(fileName.c_str());
    SDL_Surface* rgba = SurfaceConverter::toRgba(image);
    if (image && image != rgba)
        SDL_FreeSurface(image);
    if (!rgba)
        return false; // keep whatever was loaded before, or nothing

    unloadTexture();
    upload(rgba->pixels, rgba->w, rgba->h, rgba->pitch / 4);
    SDL_FreeSurface(rgba);
    return true;
}

void BitmapPicture::upload(const void* pixels, int pixelWidth, int pixelHeight, int rowLength) {
    GLuint name{};
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixelWidth, pixelHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    texture = name;
    width = static_cast<float>(pixelWidth);
    height = static_cast<float>(pixelHeight);
    loaded.push_back(this);
}

void BitmapPicture::unloadTexture() {
    if (texture != 0) {
        GLuint name = texture;
        glDeleteTextures(1, &name);
        loaded.erase(std::find(loaded.begin(), loaded.end(), this));
    }
    texture = 0;
    width = 0.0f;
    height = 0.0f;
}

void BitmapPicture::holdTextures() {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (BitmapPicture* picture : loaded) {
        const size_t w = static_cast<size_t>(picture->width),
                     h = static_cast<size_t>(picture->height);
        picture->heldPixels.resize(w * h * 4);
        glBindTexture(GL_TEXTURE_2D, picture->texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, picture->heldPixels.data());
    }
}

// Every name is let go before any is made: in a context that was kept, a
// new texture may take a name another picture still holds.
void BitmapPicture::restoreTextures() {
    const std::vector<BitmapPicture*> held = loaded;
    for (BitmapPicture* picture : held) {
        const GLuint name = picture->texture;
        glDeleteTextures(1, &name);
    }
    loaded.clear();
    for (BitmapPicture* picture : held) {
        picture->upload(picture->heldPixels.data(), static_cast<int>(picture->width),
                        static_cast<int>(picture->height), 0);
        picture->heldPixels = std::vector<unsigned char>();
    }
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
