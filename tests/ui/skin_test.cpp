// The generated skin: every picture the toolkit and the dialogs load is
// there, at its base size and (where scale 2 shows it) at twice that size.
#include "ui/image_button.h"
#include "ui_test_support.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class SkinTest : public UiTest {
protected:
    Size SizeOf(const std::string& rel)
    {
        auto img = host.Graphics().LoadImageFile(std::string(TEVLAN_BINARY_DIR) + "/skins/" + rel);
        return img ? Size{img->Width(), img->Height()} : Size{-1, -1};
    }
    void ExpectPicture(const std::string& name, int w, int h, bool twice = true)
    {
        EXPECT_EQ(SizeOf(name), (Size{w, h})) << name;
        if (!twice) return;
        size_t dot = name.rfind('.');
        std::string doubled = name.substr(0, dot) + "@2x" + name.substr(dot);
        EXPECT_EQ(SizeOf(doubled), (Size{2 * w, 2 * h})) << doubled;
    }
};

TEST_F(SkinTest, EveryNamedPictureIsThereAtItsSize)
{
    struct P { const char* name; int w, h; };
    const P pictures[] = {
        {"exit_nr.png", 15, 15},           {"exit_ov.png", 15, 15},          {"min_nr.png", 15, 15},
        {"min_ov.png", 15, 15},            {"button1_nr.png", 230, 25},      {"button1_ov.png", 230, 25},
        {"button2_nr.png", 69, 20},        {"button2_ov.png", 69, 20},       {"button3_nr.png", 65, 23},
        {"button3_ov.png", 65, 23},        {"button4_nr.png", 215, 45},      {"add_nr.png", 46, 20},
        {"add_ov.png", 46, 20},            {"header_nr.png", 262, 25},       {"header_ov.png", 262, 25},
        {"header2_nr.png", 230, 25},       {"header2_ov.png", 230, 25},      {"check_nr.png", 15, 15},
        {"check_ov.png", 15, 15},          {"check_dn.png", 15, 15},         {"check_button_dpi_nr.png", 11, 11},
        {"check_button_dpi_ov.png", 11, 11}, {"check_button_dpi_dn.png", 11, 11}, {"radio_nr.png", 15, 15},
        {"radio_ov.png", 15, 15},          {"radio_dn.png", 15, 15},         {"up_nr.png", 29, 18},
        {"up_ov.png", 29, 18},             {"up_check.png", 29, 18},         {"down_nr.png", 29, 18},
        {"down_ov.png", 29, 18},           {"down_check.png", 29, 18},       {"combo2_nr.png", 162, 21},
        {"combo2_ov.png", 162, 21},        {"combo3_nr.png", 189, 25},       {"combo3_ov.png", 189, 25},
        {"Slider_bar.png", 145, 3},        {"Slider_bar2.png", 185, 3},      {"Slider_Circle.png", 13, 13},
        {"dpi_value.png", 26, 11},         {"color_select_nr.png", 21, 20},  {"color_select_check.png", 21, 20},
        {"125hz_nr.png", 72, 72},          {"1000hz_dn.png", 72, 72},        {"power_manage_3min.png", 140, 84},
        {"power_manage_10min.png", 140, 84}, {"battery_full.png", 30, 61},   {"battery_empty.png", 30, 61},
        {"battery_charging.png", 30, 61},  {"battery_lighting.png", 30, 61}, {"battery_green.png", 8, 8},
        {"battery_orange.png", 8, 8},      {"battery_red.png", 8, 8},        {"menu_nr.png", 161, 22},
        {"menu_ov.png", 161, 22},          {"menusub_nr.png", 161, 22},      {"menusub_ov.png", 161, 22},
        {"profile_slot_nr.png", 162, 21},  {"profile_slot_ov.png", 162, 21}, {"profile_slot_nr2.png", 162, 21},
        {"profile_slot_ov2.png", 162, 21}, {"macro_time.png", 13, 13},       {"macro_up.png", 13, 13},
        {"macro_down.png", 13, 13},        {"macro_record_nr.png", 90, 18},  {"macro_record_dn.png", 90, 18},
        {"mouse/mouse_nr.png", 215, 398},  {"mouse/dpi_bar_1.png", 7, 132},  {"mouse/dpi_bar_2.png", 7, 132},
        {"mouse/number1.png", 22, 22},     {"mouse/number9.png", 22, 22},    {"mouse/serial_number1.png", 21, 19},
        {"mouse/serial_number9.png", 21, 19},
        // The frames the dialogs name as bitmaps, shipped as PNG.
        {"Frame_common.png", 429, 140},    {"Frame_warning.png", 319, 102},  {"Frame_progress_nr.png", 429, 140},
        {"Frame_progress_ov.png", 429, 140}, {"Frame_Macro_Manager.png", 528, 365},
        {"Frame_Lighting_Setting.png", 230, 82},
        {"res/364.png", 1127, 740},        {"res/287.png", 500, 291},        {"res/184.png", 5 * 162, 21},
        {"res/187.png", 3 * 18, 18},       {"res/188.png", 3 * 18, 18},      {"res/128.png", 64, 64},
    };
    for (const P& p : pictures) ExpectPicture(p.name, p.w, p.h);
    // The macro-set dialogs are never scaled: their pictures exist once.
    ExpectPicture("res/300.png", 530, 200, false);
    ExpectPicture("res/296.png", 3 * 92, 27, false);
    ExpectPicture("res/297.png", 3 * 92, 27, false);
    ExpectPicture("res/333.png", 3 * 15, 15, false);
}

TEST_F(SkinTest, ThePaletteAreasSitOnTheirBackgroundColour)
{
    auto img = host.Graphics().LoadImageResource(287);
    ASSERT_NE(img, nullptr);
    // Outside both areas: the palette background the dialog ignores.
    EXPECT_EQ(img->Pixel(10, 150), RGB(15, 15, 15));
    EXPECT_EQ(img->Pixel(232, 100), RGB(15, 15, 15));
    EXPECT_EQ(img->Pixel(480, 100), RGB(15, 15, 15));
    // Inside them: colours, never the background.
    for (Point p : {Point{30, 40}, Point{120, 150}, Point{210, 260}, Point{250, 30}, Point{360, 100}, Point{470, 185}})
        EXPECT_NE(img->Pixel(p.x, p.y), RGB(15, 15, 15)) << p.x << "," << p.y;
}

// A frame named as a bitmap comes from its PNG; a skin folder that holds
// the bitmap itself (an older skin) still works, at both scales.
TEST_F(SkinTest, AFrameNamedAsABitmapLoadsFromItsPngOrFromTheBitmap)
{
    auto shipped = CSkinImage::FromFile(Skin(u"Frame_warning.bmp"));
    ASSERT_NE(shipped, nullptr);
    EXPECT_EQ(shipped->Width(), 319);

    const std::string folder = std::string(TEVLAN_BINARY_DIR) + "/skin-bmp-test-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder + "skins");
    // A 3 x 2 bitmap, 24 bits, bottom-up, rows padded to four bytes.
    std::string bmp = "BM";
    auto u32 = [&bmp](uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(char(v >> (8 * i))); };
    auto u16 = [&bmp](uint16_t v) { bmp.push_back(char(v)); bmp.push_back(char(v >> 8)); };
    u32(54 + 24); u32(0); u32(54); u32(40); u32(3); u32(2); u16(1); u16(24); u32(0); u32(24);
    u32(2835); u32(2835); u32(0); u32(0);
    bmp += std::string(24, '\x40');
    std::ofstream(folder + "skins/Frame_old.bmp", std::ios::binary) << bmp;
    SetSkinProgramFolder(folder);
    for (float scale : {1.0f, 2.0f}) {
        g_uiScale = scale;
        auto old = CSkinImage::FromFile(SkinPath(u"skins/Frame_old.bmp"));
        ASSERT_NE(old, nullptr) << scale;
        EXPECT_EQ(old->Width(), 3);
        EXPECT_EQ(old->Height(), 2);
    }
    SetSkinProgramFolder(TEVLAN_BINARY_DIR);
    std::filesystem::remove_all(folder);
}

TEST_F(SkinTest, AtScaleTwoTheDoubledPictureIsUsedWithItsBaseSize)
{
    g_uiScale = 2.0f;
    auto img = CSkinImage::FromFile(Skin(u"Slider_Circle.png"));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->Density(), 2);
    EXPECT_EQ(img->Width(), 13);
    auto strip = CSkinImage::FromResource(188);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->Density(), 2);
    EXPECT_EQ(strip->Height(), 18);
    // A missing picture leaves the control working: the caption is still drawn.
    TestDlg dlg;
    CImageButton* b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        b = d.Add<CImageButton>(0, 2010, Rect{10, 10, 200, 60}, u"MMMMMMMM");
        EXPECT_FALSE(b->LoadNormalAndHover(Skin(u"no_such_nr.png"), Skin(u"no_such_ov.png")));
    });
    const platform::IImage* shot = host.Snapshot(w);
    ASSERT_NE(shot, nullptr);
    int text = 0;
    for (int y = 10; y < 60; ++y)
        for (int x = 10; x < 200; ++x)
            if (shot->Pixel(x, y) != dlg.BackgroundColour()) ++text;
    EXPECT_GT(text, 20);
    ClickAt(w, 100, 30);
    EXPECT_EQ(dlg.Count(2010, CE_CLICK), 1);
}

}  // namespace
