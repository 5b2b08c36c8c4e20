#pragma once
// A skin picture as the controls see it: its size in base units (the pixels
// of the 1.0 skin) and a draw operation whose source rectangle is in those
// units too. At UI scale 2 the loader prefers the generator's "@2x" file; its
// pixels count as half units, so every piece of layout arithmetic (strip
// frames, partial fills, thumb sizes) is the same at both scales and the
// picture stays sharp.
#include <future>
#include <memory>
#include <string>

#include "platform/draw/canvas.h"

//
// Pictures from files are decoded when first drawn, not when a control loads
// them: most controls show only one of their looks, and closed sections none
// at all. Every control that shows the same file shares one decoded copy,
// which lives as long as some control still holds the file.
class CSkinImage {
public:
    // path: a full path (the program folder followed by "skins\..." or
    // "skins/..."); backslashes are read as '/'. Null when neither the @2x
    // nor the plain file is an image (only the file's header is read here).
    static std::unique_ptr<CSkinImage> FromFile(const std::u16string& path);
    // One of the program's numbered image resources (skins/res/N.png).
    static std::unique_ptr<CSkinImage> FromResource(int id);
    // Wraps an image that is already decoded, at the given density.
    CSkinImage(std::unique_ptr<platform::IImage> image, int density);
    CSkinImage(const CSkinImage&) = delete;
    CSkinImage& operator=(const CSkinImage&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Density() const { return density_; }
    // The decoded picture (decoded now if it was not yet). A file that
    // passed the header check but cannot be decoded is a transparent
    // picture of its size.
    const platform::IImage& Raw() const;
    bool IsDecoded() const { return image_ != nullptr; }
    // Starts decoding the file on another thread, for a picture the next
    // paint is sure to show (the first frame's): Raw() then takes the result
    // instead of decoding on the window thread. Nothing for a picture that
    // is decoded already, or shared with one that is.
    void DecodeAhead() const;
    // The decoded picture, for a holder that outlives this object.
    std::shared_ptr<const platform::IImage> Shared() const
    {
        Raw();
        return image_;
    }

    // Draws the src part (base units; empty = whole picture) stretched to dst.
    void Draw(platform::ICanvas& dc, const Rect& dst, const Rect& src = {}) const;
    // Frame k of a strip of `frames` pictures side by side, stretched to dst.
    void DrawFrame(platform::ICanvas& dc, const Rect& dst, int k, int frames) const;

private:
    CSkinImage(std::string path, Size pixels, int density);

    mutable std::shared_ptr<const platform::IImage> image_;
    mutable std::future<std::unique_ptr<platform::IImage>> ahead_;
    std::string path_;  // the file still to decode; empty for wrapped images
    Size pixels_;
    int density_ = 1;
    int width_ = 0;
    int height_ = 0;
};

// How many decoded skin files are alive now (shared copies count once).
size_t DecodedSkinFileCount();

// Where the skin's resources live: the folder that holds skins/. The main
// window sets it at start-up (it also tells the graphics layer); tests point
// it at the build folder. UTF-8, with or without a trailing '/'.
void SetSkinProgramFolder(const std::string& folder);
const std::string& SkinProgramFolder();

// The program-folder path of a skin file: folder + name, with '\' read as '/'.
std::u16string SkinPath(const std::u16string& relativeName);
