#include "ui/skin_image.h"

#include "persist/text_codec.h"
#include "platform/window/window_host.h"
#include "ui/ui_scale.h"

namespace {

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

}  // namespace

CSkinImage::CSkinImage(std::unique_ptr<platform::IImage> image, int density)
    : image_(std::move(image)), density_(density < 1 ? 1 : density)
{
    width_ = image_->Width() / density_;
    height_ = image_->Height() / density_;
}

std::unique_ptr<CSkinImage> CSkinImage::FromFile(const std::u16string& path)
{
    platform::IGraphics* g = Graphics();
    if (!g || path.empty()) return nullptr;
    std::u16string p = path;
    for (auto& c : p)
        if (c == u'\\') c = u'/';
    std::string utf8 = U16ToUtf8(p);
    if (WantDouble()) {
        if (auto img = g->LoadImageFile(WithSuffix(utf8, "@2x")))
            return std::make_unique<CSkinImage>(std::move(img), 2);
    }
    if (auto img = g->LoadImageFile(utf8)) return std::make_unique<CSkinImage>(std::move(img), 1);
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
    dc.DrawImage(*image_, dst, px);
}

void CSkinImage::DrawFrame(platform::ICanvas& dc, const Rect& dst, int k, int frames) const
{
    if (frames < 1) frames = 1;
    // Frames are cut in image pixels so that a 2x strip keeps its exact seams.
    int fw = image_->Width() / frames;
    if (fw <= 0 || dst.IsEmpty()) return;
    dc.DrawImage(*image_, dst, Rect{k * fw, 0, (k + 1) * fw, image_->Height()});
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
