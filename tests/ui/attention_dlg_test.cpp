#include "ui/attention_dlg.h"
#include "ui/image_button.h"
#include "ui/long_message_dlg.h"
#include "ui/passive_controls.h"
#include "ui_test_support.h"

namespace {

class AttentionTest : public UiTest {};

TEST_F(AttentionTest, OkAnswersOkAndCloseAnswersCancelAndTheMessageIsReported)
{
    g_uiTexts[4] = u"OK";
    host.ScriptModal(u"attention", [](platform::HeadlessModal& m) { m.ClickAt({274, 80}); });
    CAttentionDlg ask(u"Question", u"Delete this profile?");
    EXPECT_EQ(ask.DoModal(), IDOK);

    host.ScriptModal(u"attention", [](platform::HeadlessModal& m) { m.ClickAt({307, 11}); });
    CAttentionDlg warn(u"Warning", u"The mouse is not connected.");
    EXPECT_EQ(warn.DoModal(), IDCANCEL);

    ASSERT_EQ(host.ModalLog().size(), 2u);
    EXPECT_EQ(host.ModalLog()[0].text, u"Delete this profile?");
    EXPECT_EQ(host.ModalLog()[1].kind, u"attention");
    EXPECT_EQ(host.ModalLog()[1].result, IDCANCEL);
}

TEST_F(AttentionTest, TheTitleLineStaysEmptyAndALongMessageMovesNothing)
{
    std::u16string longText;
    for (int i = 0; i < 12; ++i) longText += u"a rather long warning ";
    CAttentionDlg dlg(u"Some title", longText);
    ASSERT_TRUE(dlg.ShowModeless());
    host.ProcessPending();
    auto* title = dlg.Find<CStaticText>(2012);
    auto* message = dlg.Find<CStaticText>(2013);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(title->LabelText(), u"");
    EXPECT_EQ(message->LabelText(), longText);
    EXPECT_EQ(message->GetRect(), (Rect{0, 40, 319, 60}));
    EXPECT_EQ(dlg.FindControl(2010)->GetRect(), (Rect{240, 70, 309, 90}));
    EXPECT_EQ(host.GetClientRect(dlg.GetSafeHwnd()), (Rect{0, 0, 319, 102}));
    // It is registered like every secondary dialog and wraps over more than one line.
    EXPECT_EQ(g_openDialogs[0], dlg.GetSafeHwnd());
    const platform::IImage* img = host.Snapshot(dlg.GetSafeHwnd());
    ASSERT_NE(img, nullptr);
    auto rowHasText = [&](int y) {
        for (int x = 0; x < 319; ++x)
            if (GetRValue(img->Pixel(x, y)) > 140 && GetGValue(img->Pixel(x, y)) > 140) return true;
        return false;
    };
    int rows = 0;
    for (int y = 20; y < 70; ++y) rows += rowHasText(y);

    EXPECT_GT(rows, 20);  // more than one line of text
}

TEST_F(AttentionTest, AMessageNamingALongFileStaysBetweenTheRuleAndOk)
{
    // A broken profile picked from deep folders: the text once ran through
    // the red rule and into OK.
    g_uiTexts[4] = u"OK";
    const std::u16string path =
        u"/home/someone/Downloads/" + std::u16string(150, u'x') + u"/profiles of the old computer/broken.psf";
    const std::u16string message = u"\u201C" + path + u"\u201D is not a valid profile file. The profile was not changed.";
    for (float scale : {1.0f, 2.0f}) {
        g_uiScale = scale;
        g_uiFont.height = ScaleUnits(14);  // a language file scales its font with the UI
        CLongMessageDlg dlg(message, path, 0);
        ASSERT_TRUE(dlg.Create(0));
        const platform::IImage* img = host.Snapshot(dlg.GetSafeHwnd());
        ASSERT_NE(img, nullptr);
        // The path is cut in its middle, the file's name kept.
        EXPECT_NE(dlg.Shown().find(u"\u2026"), std::u16string::npos);
        EXPECT_NE(dlg.Shown().find(u"broken.psf\u201D is not"), std::u16string::npos);
        const Rect ok = dlg.FindControl(CLongMessageDlg::kOk)->GetRect();
        const int ruleBottom = ScaleUnits(35);
        auto textPixels = [&](int top, int bottom, int right) {
            int n = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = ScaleUnits(4); x < right; ++x)
                    n += GetRValue(img->Pixel(x, y)) > 140 && GetGValue(img->Pixel(x, y)) > 140;
            return n;
        };
        EXPECT_EQ(textPixels(ScaleUnits(2), ruleBottom + ScaleUnits(2), ScaleUnits(295)), 0) << scale;
        EXPECT_GT(textPixels(ruleBottom, ok.top, img->Width() - ScaleUnits(4)), 0) << scale;
        EXPECT_EQ(textPixels(ok.top - ScaleUnits(2), img->Height() - 1, ok.left - ScaleUnits(4)), 0) << scale;
        EXPECT_GT(host.GetClientRect(dlg.GetSafeHwnd()).bottom, ScaleUnits(CAttentionDlg::kBaseHeight)) << scale;
        dlg.DestroyWindow();
    }
}

TEST_F(AttentionTest, LaidOutAtScaleTwo)
{
    g_uiScale = 2.0f;
    CAttentionDlg dlg(u"", u"x");
    ASSERT_TRUE(dlg.ShowModeless());
    host.ProcessPending();
    EXPECT_EQ(host.GetClientRect(dlg.GetSafeHwnd()), (Rect{0, 0, 638, 204}));
    EXPECT_EQ(dlg.FindControl(2004)->GetRect(), (Rect{600, 8, 630, 38}));
}

}  // namespace
