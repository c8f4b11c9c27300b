// Image lists: strips split into pictures, masks leave the background alone,
// the disabled look, index errors and change links.

#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"

using namespace painttest;

namespace {

// A strip of n 8 x 8 pictures: fuchsia background, a black square in each,
// and one white pixel in the square.
void Strip(TBitmap& b, int n) {
    b.SetSize(8 * n, 8);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, 8 * n, 8));
    b.Canvas()->Brush()->SetColor(clBlack);
    for (int i = 0; i < n; ++i) {
        b.Canvas()->FillRect(Rect(8 * i + 2, 2, 8 * i + 2 + 2 + i, 6));
        b.Canvas()->SetPixels(8 * i + 2, 2, clWhite);
    }
}

TEST(ImageList, MaskedDrawingLeavesTheMaskColourOut) {
    TImageList list;
    list.SetSize(8, 8);
    TBitmap strip;
    Strip(strip, 3);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    QImage img = Noise(20, 20);
    const QImage before = img.copy();
    TCanvas c(&img);
    list.Draw(&c, 5, 6, 1);
    // Only the square (with its white pixel) is drawn.
    EXPECT_EQ(ChangedBox(img, before), TRect(7, 8, 10, 12));
    EXPECT_EQ(Count(img, 0xFF00FF), Count(before, 0xFF00FF));
    EXPECT_EQ(Px(img, 7, 8), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 8, 9), 0u);
    list.Draw(&c, 0, 0, 7); // no such picture: nothing
    list.Draw(nullptr, 0, 0, 0);
}

TEST(ImageList, PicturesDrawnInCodeLeaveTheirClearColourOut) {
    TImageList list;
    list.SetSize(8, 8);
    EXPECT_EQ(list.AddPainted(clFuchsia, [](TCanvas& c) {
        c.Brush()->SetColor(clBlack);
        c.FillRect(Rect(2, 2, 5, 6));
    }), 0);
    EXPECT_EQ(list.AddPainted(clFuchsia, nullptr), 1);
    ASSERT_EQ(list.Count(), 2);
    QImage img = Noise(20, 20);
    const QImage before = img.copy();
    TCanvas c(&img);
    list.Draw(&c, 5, 6, 0);
    EXPECT_EQ(ChangedBox(img, before), TRect(7, 8, 10, 12));
    list.Draw(&c, 0, 0, 1); // all clear: nothing shows
    EXPECT_EQ(ChangedBox(img, before), TRect(7, 8, 10, 12));
}

TEST(ImageList, ExplicitMaskWhiteMeansBackground) {
    TImageList list;
    list.SetSize(4, 2);
    TBitmap image, mask;
    image.SetSize(4, 2);
    image.Canvas()->Brush()->SetColor(clRed);
    image.Canvas()->FillRect(Rect(0, 0, 4, 2));
    mask.SetSize(4, 2); // white: nothing shows
    mask.Canvas()->SetPixels(1, 0, clBlack);
    mask.Canvas()->SetPixels(3, 1, clBlack);
    list.Add(&image, &mask);
    list.Add(&image, nullptr);
    QImage img = Filled(4, 4, 0x00FF00);
    TCanvas c(&img);
    list.Draw(&c, 0, 0, 0);
    list.Draw(&c, 0, 2, 1);
    EXPECT_EQ(Count(img, 0xFF0000), 2 + 8);
    EXPECT_EQ(Px(img, 1, 0), 0xFF0000u);
    TBitmap m;
    list.GetMask(0, &m);
    EXPECT_TRUE(m.Monochrome());
    EXPECT_EQ(Count(m.Image(), 0), 2);
    TBitmap pic;
    list.GetBitmap(0, &pic);
    EXPECT_EQ(pic.Image(), image.Image());
}

TEST(ImageList, DisabledPicturesAreEmbossedInTheButtonColours) {
    TImageList list;
    list.SetSize(8, 8);
    TBitmap strip;
    Strip(strip, 1);
    list.AddMasked(&strip, clFuchsia);
    QImage normal = Filled(12, 12, 0xC0C0C0), disabled = normal.copy();
    TCanvas a(&normal), b(&disabled);
    list.Draw(&a, 2, 2, 0, true);
    list.Draw(&b, 2, 2, 0, false);
    EXPECT_NE(normal, disabled);
    // Only the shadow and highlight colours appear, over the figure without
    // its white pixel, and the highlight shows one pixel right and down.
    EXPECT_EQ(Count(disabled, 0x808080) + Count(disabled, 0xFFFFFF) + Count(disabled, 0xC0C0C0), 144);
    EXPECT_EQ(InkBox(disabled, 0x808080), TRect(4, 4, 6, 8));
    EXPECT_EQ(Px(disabled, 4, 4), 0xC0C0C0u); // the white pixel is not part of the shape
    EXPECT_EQ(Px(disabled, 6, 5), 0xFFFFFFu);
    EXPECT_EQ(Px(disabled, 5, 8), 0xFFFFFFu);
}

TEST(ImageList, IndexErrorsAndEditing) {
    TImageList list;
    list.SetSize(8, 8);
    TBitmap strip, other;
    Strip(strip, 2);
    Strip(other, 1);
    list.AddMasked(&strip, clFuchsia);
    try {
        list.Delete(2);
        ADD_FAILURE();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, AnsiString("Invalid ImageList Index"));
    }
    EXPECT_THROW(list.Replace(-1, &other, nullptr), EInvalidOperation);
    EXPECT_THROW(list.GetBitmap(5, &other), EInvalidOperation);
    list.Replace(1, &other, nullptr); // no mask: the whole picture shows
    QImage img = Filled(8, 8, 0x123456);
    TCanvas c(&img);
    list.Draw(&c, 0, 0, 1);
    EXPECT_EQ(Count(img, 0xFF00FF), 64 - 2 * 4);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    list.SetSize(16, 16); // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
}

TEST(ImageList, ChangeLinksHearEveryChangeUntilEitherSideGoes) {
    TBitmap strip;
    Strip(strip, 2);
    int heard = 0, own = 0;
    auto list = std::make_unique<TImageList>();
    list->SetSize(8, 8);
    list->OnChange = [&](TObject*) { ++own; };
    TChangeLink link;
    link.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, list.get());
        ++heard;
    };
    list->RegisterChanges(&link);
    EXPECT_EQ(link.Sender(), list.get());
    list->AddMasked(&strip, clFuchsia);
    list->Replace(0, &strip, nullptr);
    list->Delete(1);
    list->Clear();
    EXPECT_EQ(heard, 4);
    EXPECT_EQ(own, 4);
    {
        TChangeLink shortLived;
        shortLived.OnChange = [&](TObject*) { ++heard; };
        list->RegisterChanges(&shortLived);
    }
    list->Add(&strip, nullptr);
    EXPECT_EQ(heard, 5);
    list.reset();
    EXPECT_EQ(link.Sender(), nullptr);
}

TEST(ImageList, IsOwnedLikeAnyComponent) {
    TComponent owner(nullptr);
    auto* list = new TImageList(&owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), list);
}

} // namespace
