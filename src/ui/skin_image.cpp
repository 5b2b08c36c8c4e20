#include "ui/skin_image.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "base/text_codec.h"
#include "platform/window/window_host.h"
#include "ui/ui_scale.h"

namespace {

// The program folder the skin pictures are read from, with a trailing '/'.
// Owner: the window thread. The main window sets it once at start-up
// (SetSkinProgramFolder), before the first picture loads; tests set it in
// their fixtures. Nothing reads it from another thread.
std::string g_skinFolder;

platform::IGraphics* Graphics()
{
    return platform::g_windowHost ? &platform::g_windowHost->Graphics() : nullptr;
}

std::string WithSuffix(const std::string& path, const char* suffix)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

bool WantDouble() { return g_uiScale >= 1.5f; }

// A file whose header promised a picture that then would not decode: it
// draws nothing, at the size the layout was given.
class BlankImage final : public platform::IImage {
public:
    explicit BlankImage(Size s) : size_(s) {}
    int Width() const override { return size_.cx; }
    int Height() const override { return size_.cy; }
    COLORREF Pixel(int, int) const override { return 0; }
    int Alpha(int, int) const override { return 0; }

private:
    Size size_;
};

// The decoded files, by path and pixel size (a file rewritten at another
// size is decoded afresh). Owner: the window thread, like every control.
// A picture dies with the last control that holds it; its entry is swept
// out later.
using DecodedMap = std::unordered_map<std::string, std::weak_ptr<const platform::IImage>>;
DecodedMap& DecodedFiles()
{
    static DecodedMap files;
    return files;
}

std::string CacheKey(const std::string& path, Size s)
{
    return path + '|' + std::to_string(s.cx) + 'x' + std::to_string(s.cy);
}

}  // namespace

size_t DecodedSkinFileCount()
{
    size_t n = 0;
    for (const auto& entry : DecodedFiles())
        if (!entry.second.expired()) ++n;
    return n;
}

CSkinImage::CSkinImage(std::unique_ptr<platform::IImage> image, int density)
    : image_(std::move(image)), density_(density < 1 ? 1 : density)
{
    pixels_ = {image_->Width(), image_->Height()};
    width_ = pixels_.cx / density_;
    height_ = pixels_.cy / density_;
}

CSkinImage::CSkinImage(std::string path, Size pixels, int density)
    : path_(std::move(path)), pixels_(pixels), density_(density < 1 ? 1 : density)
{
    width_ = pixels_.cx / density_;
    height_ = pixels_.cy / density_;
}

const platform::IImage& CSkinImage::Raw() const
{
    if (image_) return *image_;
    DecodedMap& files = DecodedFiles();
    const std::string key = CacheKey(path_, pixels_);
    if (auto it = files.find(key); it != files.end()) image_ = it->second.lock();
    if (!image_) {
        std::unique_ptr<platform::IImage> decoded;
        if (ahead_.valid())
            decoded = ahead_.get();
        else if (platform::IGraphics* g = Graphics())
            decoded = g->LoadImageFile(path_);
        // Rewritten since its header was read: the layout was made for the
        // old size, so nothing is drawn rather than something misplaced.
        if (decoded && (decoded->Width() != pixels_.cx || decoded->Height() != pixels_.cy)) decoded.reset();
        if (decoded)
            image_ = std::move(decoded);
        else
            image_ = std::make_shared<BlankImage>(pixels_);
        if (files.size() >= 256) std::erase_if(files, [](const auto& e) { return e.second.expired(); });
        files[key] = image_;
    }
    return *image_;
}

void CSkinImage::DecodeAhead() const
{
    if (image_ || ahead_.valid() || path_.empty()) return;
    platform::IGraphics* g = Graphics();
    if (!g) return;
    if (auto it = DecodedFiles().find(CacheKey(path_, pixels_)); it != DecodedFiles().end() && !it->second.expired())
        return;
    // The graphics layer's file decoding keeps no state between calls.
    ahead_ = std::async(std::launch::async, [g, path = path_] { return g->LoadImageFile(path); });
}

std::unique_ptr<CSkinImage> CSkinImage::FromFile(const std::u16string& path)
{
    platform::IGraphics* g = Graphics();
    if (!g || path.empty()) return nullptr;
    std::u16string p = path;
    for (auto& c : p)
        if (c == u'\\') c = u'/';
    const std::string utf8 = U16ToUtf8(p);
    // A picture named as a bitmap is shipped as PNG under the same name;
    // a skin folder of bitmaps (an older or a hand-made skin) still works.
    std::vector<std::string> names;
    if (utf8.size() > 4 && utf8.compare(utf8.size() - 4, 4, ".bmp") == 0)
        names.push_back(utf8.substr(0, utf8.size() - 4) + ".png");
    names.push_back(utf8);
    // Only the headers are read now; the @2x file is never touched at scale 1.
    if (WantDouble()) {
        for (const std::string& name : names) {
            std::string doubled = WithSuffix(name, "@2x");
            if (Size s = g->ProbeImageFile(doubled); s.cx > 0 && s.cy > 0)
                return std::unique_ptr<CSkinImage>(new CSkinImage(std::move(doubled), s, 2));
        }
    }
    for (const std::string& name : names)
        if (Size s = g->ProbeImageFile(name); s.cx > 0 && s.cy > 0)
            return std::unique_ptr<CSkinImage>(new CSkinImage(name, s, 1));
    return nullptr;
}

std::unique_ptr<CSkinImage> CSkinImage::FromResource(int id)
{
    platform::IGraphics* g = Graphics();
    if (!g) return nullptr;
    if (WantDouble() && !g_skinFolder.empty()) {
        std::string path = g_skinFolder + "skins/res/" + std::to_string(id) + "@2x.png";
        if (auto img = g->LoadImageFile(path)) return std::make_unique<CSkinImage>(std::move(img), 2);
    }
    if (auto img = g->LoadImageResource(id)) return std::make_unique<CSkinImage>(std::move(img), 1);
    return nullptr;
}

void CSkinImage::Draw(platform::ICanvas& dc, const Rect& dst, const Rect& src) const
{
    if (dst.IsEmpty()) return;
    Rect s = src.IsEmpty() ? Rect{0, 0, width_, height_} : src;
    Rect px{s.left * density_, s.top * density_, s.right * density_, s.bottom * density_};
    if (px.IsEmpty()) return;
    dc.DrawImage(Raw(), dst, px);
}

void CSkinImage::DrawFrame(platform::ICanvas& dc, const Rect& dst, int k, int frames) const
{
    if (frames < 1) frames = 1;
    // Frames are cut in image pixels so that a 2x strip keeps its exact seams.
    int fw = pixels_.cx / frames;
    if (fw <= 0 || dst.IsEmpty()) return;
    dc.DrawImage(Raw(), dst, Rect{k * fw, 0, (k + 1) * fw, pixels_.cy});
}

void SetSkinProgramFolder(const std::string& folder)
{
    g_skinFolder = folder;
    if (!g_skinFolder.empty() && g_skinFolder.back() != '/') g_skinFolder += '/';
    if (platform::IGraphics* g = Graphics()) g->SetProgramFolder(g_skinFolder);
}

const std::string& SkinProgramFolder() { return g_skinFolder; }

std::u16string SkinPath(const std::u16string& relativeName)
{
    std::u16string p = Utf8ToU16(g_skinFolder) + relativeName;
    for (auto& c : p)
        if (c == u'\\') c = u'/';
    return p;
}
