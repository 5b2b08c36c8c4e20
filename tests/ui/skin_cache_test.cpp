// Skin pictures are decoded when first drawn, once per file, and never at a
// scale that does not show them; the dialog background's colour is the
// average of its picture.
#include <QFile>
#include <QTemporaryDir>

#include "base/text_codec.h"
#include "ui_test_support.h"

namespace {

class SkinCacheTest : public UiTest {};

}  // namespace

TEST_F(SkinCacheTest, ControlsShowingOneFileShareOneCopyDecodedOnlyWhenDrawn)
{
    const size_t before = DecodedSkinFileCount();
    auto a = CSkinImage::FromFile(Skin(u"check_nr.png"));
    auto b = CSkinImage::FromFile(Skin(u"check_nr.png"));
    auto other = CSkinImage::FromFile(Skin(u"check_ov.png"));
    ASSERT_TRUE(a && b && other);
    EXPECT_EQ(a->Width(), 15);
    EXPECT_EQ(a->Height(), 15);
    EXPECT_FALSE(a->IsDecoded());
    EXPECT_EQ(DecodedSkinFileCount(), before);

    auto canvas = host.Graphics().CreateImageCanvas(40, 40);
    a->Draw(*canvas, {0, 0, 15, 15});
    b->Draw(*canvas, {20, 20, 35, 35});
    EXPECT_EQ(&a->Raw(), &b->Raw());
    EXPECT_FALSE(other->IsDecoded());
    EXPECT_EQ(DecodedSkinFileCount(), before + 1);
    // Drawn as the file is: the generated check box is not all black.
    EXPECT_NE(canvas->Image().Pixel(7, 7), canvas->Image().Pixel(38, 0));
    EXPECT_EQ(canvas->Image().Pixel(7, 7), canvas->Image().Pixel(27, 27));

    a.reset();
    EXPECT_EQ(DecodedSkinFileCount(), before + 1);
    b.reset();
    EXPECT_EQ(DecodedSkinFileCount(), before);
}

// Decoded ahead on another thread, a picture draws as if decoded when drawn,
// and a second control showing the file shares that copy.
TEST_F(SkinCacheTest, APictureDecodedAheadIsTheOneDrawnAndShared)
{
    const size_t before = DecodedSkinFileCount();
    auto ahead = CSkinImage::FromFile(Skin(u"check_ov.png"));
    auto plain = CSkinImage::FromFile(Skin(u"check_ov.png"));
    auto reference = CSkinImage::FromFile(Skin(u"check_ov.png"));
    ASSERT_TRUE(ahead && plain && reference);
    ahead->DecodeAhead();
    EXPECT_FALSE(ahead->IsDecoded()) << "taken over when first drawn";
    auto a = host.Graphics().CreateImageCanvas(15, 15);
    ahead->Draw(*a, {0, 0, 15, 15});
    EXPECT_EQ(DecodedSkinFileCount(), before + 1);
    plain->DecodeAhead();  // already decoded: shared, not decoded again
    EXPECT_EQ(&plain->Raw(), &ahead->Raw());
    EXPECT_EQ(DecodedSkinFileCount(), before + 1);
    auto b = host.Graphics().CreateImageCanvas(15, 15);
    reference->Draw(*b, {0, 0, 15, 15});
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x) ASSERT_EQ(a->Image().Pixel(x, y), b->Image().Pixel(x, y)) << x << "," << y;
}

TEST_F(SkinCacheTest, ScaleOneNeverReadsTheDoubledFileAndScaleTwoPrefersIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(QString::fromStdString(std::string(TEVLAN_BINARY_DIR) + "/skins/check_nr.png"),
                            dir.filePath("pic.png")));
    // A doubled file that is no picture at all: scale 1 must not care.
    QFile junk(dir.filePath("pic@2x.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    const std::u16string path = Utf8ToU16(dir.filePath("pic.png").toStdString());

    auto one = CSkinImage::FromFile(path);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->Density(), 1);

    ASSERT_TRUE(QFile::remove(dir.filePath("pic@2x.png")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(std::string(TEVLAN_BINARY_DIR) + "/skins/check_nr@2x.png"),
                            dir.filePath("pic@2x.png")));
    g_uiScale = 2.0f;
    auto two = CSkinImage::FromFile(path);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->Density(), 2);
    EXPECT_EQ(two->Width(), 15);
    EXPECT_EQ(two->Raw().Width(), 30);
}

TEST_F(SkinCacheTest, NoPictureIsNullAndABrokenOneDrawsNothingAtItsSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_EQ(CSkinImage::FromFile(Utf8ToU16(dir.filePath("junk.png").toStdString())), nullptr);
    EXPECT_EQ(CSkinImage::FromFile(Utf8ToU16(dir.filePath("missing.png").toStdString())), nullptr);

    // The header is whole, the pixels are cut off.
    QFile good(QString::fromStdString(std::string(TEVLAN_BINARY_DIR) + "/skins/button1_nr.png"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray head = good.read(good.size() / 2);
    QFile cut(dir.filePath("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(head);
    cut.close();
    auto broken = CSkinImage::FromFile(Utf8ToU16(dir.filePath("cut.png").toStdString()));
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->Width(), 230);
    auto canvas = host.Graphics().CreateImageCanvas(240, 30);
    canvas->FillRect({0, 0, 240, 30}, RGB(1, 2, 3));
    broken->Draw(*canvas, {0, 0, 230, 25});
    EXPECT_EQ(canvas->Image().Pixel(100, 10), RGB(1, 2, 3));
    EXPECT_EQ(broken->Raw().Width(), 230);
}

TEST_F(SkinCacheTest, BackgroundColourIsTheMainPicturesFullAverage)
{
    auto picture = CSkinImage::FromResource(364);
    ASSERT_TRUE(picture);
    const COLORREF full = picture->Raw().platform::IImage::AverageOverBlack();
    TestDlg dlg(1127, 740);
    Open(dlg);
    ASSERT_TRUE(dlg.LoadBackgroundResource(364));
    const COLORREF c = dlg.BackgroundColour();
    EXPECT_LE(std::abs(GetRValue(c) - GetRValue(full)), 1);
    EXPECT_LE(std::abs(GetGValue(c) - GetGValue(full)), 1);
    EXPECT_LE(std::abs(GetBValue(c) - GetBValue(full)), 1);
    dlg.DestroyWindow();
}

TEST_F(SkinCacheTest, AnOpaqueBackgroundAtTheWindowScaleIsDrawnAsItIs)
{
    g_uiScale = 2.0f;
    TestDlg dlg(1000, 582);
    HWND w = Open(dlg);
    ASSERT_TRUE(dlg.LoadBackgroundResource(287));
    auto picture = host.Graphics().LoadImageFile(std::string(TEVLAN_BINARY_DIR) + "/skins/res/287@2x.png");
    ASSERT_TRUE(picture);
    host.Invalidate(w);
    for (Point p : {Point{20, 200}, Point{200, 120}, Point{999, 581}, Point{0, 0}})
        EXPECT_EQ(PixelAt(w, p.x, p.y), picture->Pixel(p.x, p.y)) << p.x << "," << p.y;
}
