#pragma once

#include <string>
#include <vector>

#include "graphics/Picture.h"

// A still image in one texture, drawn as one anchored, alpha-blended quad.
// Strip animations point it at one cell through the texture rectangle.
class BitmapPicture : public Picture {
public:
    enum Flip { FlipHorizontal = 1, FlipVertical = 2 };

    BitmapPicture(const std::string& fileName, const GraphicProperties& properties, Shape* shape,
                  int flip);
    ~BitmapPicture() override;

    Shape* createShape() override;
    void draw() override;
    const char* getClassName() const override { return "BitmapPicture"; }

    void setFileName(const std::string& name) { fileName = name; }
    const std::string& getFileName() const { return fileName; }
    // False when the image could not be read; the picture then draws nothing.
    bool loadTexture();
    void unloadTexture();
    unsigned int getTexture() const { return texture; }
    // Around a new video mode, which may come with a new GL context: every
    // loaded texture is read back into memory, then made again from it.
    static void holdTextures();
    static void restoreTextures();

    void setTexOrigin(const Position& origin) { texOrigin = origin; }
    void setTexWidth(float value) { texWidth = value; }
    void setTexHeight(float value) { texHeight = value; }

private:
    void upload(const void* pixels, int pixelWidth, int pixelHeight, int rowLength);

    int flip;
    std::string fileName;
    unsigned int texture = 0;
    Position texOrigin{0.0f, 0.0f};
    float texWidth = 1.0f;
    float texHeight = 1.0f;
    std::vector<unsigned char> heldPixels;
    inline static std::vector<BitmapPicture*> loaded;
};
