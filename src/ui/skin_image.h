#pragma once
// A skin picture as the controls see it: its size in base units (the pixels
// of the 1.0 skin) and a draw operation whose source rectangle is in those
// units too. At UI scale 2 the loader prefers the generator's "@2x" file; its
// pixels count as half units, so every piece of layout arithmetic (strip
// frames, partial fills, thumb sizes) is the same at both scales and the
// picture stays sharp.
#include <memory>
#include <string>

#include "platform/draw/canvas.h"

class CSkinImage {
public:
    // path: a full path (the program folder followed by "skins\..." or
    // "skins/..."); backslashes are read as '/'. Null when neither the @2x
    // nor the plain file can be loaded.
    static std::unique_ptr<CSkinImage> FromFile(const std::u16string& path);
    // One of the program's numbered image resources (skins/res/N.png).
    static std::unique_ptr<CSkinImage> FromResource(int id);
    // Wraps an image that is already decoded, at the given density.
    CSkinImage(std::unique_ptr<platform::IImage> image, int density);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Density() const { return density_; }
    const platform::IImage& Raw() const { return *image_; }

    // Draws the src part (base units; empty = whole picture) stretched to dst.
    void Draw(platform::ICanvas& dc, const Rect& dst, const Rect& src = {}) const;
    // Frame k of a strip of `frames` pictures side by side, stretched to dst.
    void DrawFrame(platform::ICanvas& dc, const Rect& dst, int k, int frames) const;

private:
    std::unique_ptr<platform::IImage> image_;
    int density_ = 1;
    int width_ = 0;
    int height_ = 0;
};

// Where the skin's resources live: the folder that holds skins/. The main
// window sets it at start-up (it also tells the graphics layer); tests point
// it at the build folder. UTF-8, with or without a trailing '/'.
void SetSkinProgramFolder(const std::string& folder);
const std::string& SkinProgramFolder();

// The program-folder path of a skin file: folder + name, with '\' read as '/'.
std::u16string SkinPath(const std::u16string& relativeName);
