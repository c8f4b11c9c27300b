// Bitmaps: sizes, the two-colour rules, transparency, Windows BMP files in
// every depth the program meets, and damaged files refused without harm.

#include <string>

#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "common/TestEnv.h"
#include "platform/Bitmap.h"
#include "platform/Bytes.h"
#include "platform/MemoryStream.h"

using namespace painttest;

namespace {

// A small writer of BMP files with a palette, independent of the one under
// test: rows bottom-up (or top-down with a negative height).
std::string WriteBmp(int w, int h, int bpp, const std::vector<uint32_t>& palette, const std::vector<int>& indexes,
                     bool topDown = false, int headerSize = 40) {
    const int stride = (w * bpp + 31) / 32 * 4;
    const int entry = headerSize == 12 ? 3 : 4;
    const uint32_t off = 14 + uint32_t(headerSize) + uint32_t(palette.size()) * uint32_t(entry);
    ByteWriter out;
    out.Bytes("BM");
    out.U32(off + uint32_t(stride * h));
    out.U32(0);
    out.U32(off);
    out.U32(uint32_t(headerSize));
    if (headerSize == 12) {
        out.U16(uint16_t(w));
        out.U16(uint16_t(h));
        out.U16(1);
        out.U16(uint16_t(bpp));
    } else {
        out.I32(w);
        out.I32(topDown ? -h : h);
        out.U16(1);
        out.U16(uint16_t(bpp));
        out.U32(0);
        out.U32(uint32_t(stride * h));
        out.U32(2835);
        out.U32(2835);
        out.U32(uint32_t(palette.size()));
        out.U32(0);
        out.Zeros(std::size_t(headerSize - 40));
    }
    for (uint32_t c : palette) {
        out.U8(uint8_t(c));
        out.U8(uint8_t(c >> 8));
        out.U8(uint8_t(c >> 16));
        if (entry == 4) out.U8(0);
    }
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < w; ++x) {
            const int v = indexes[std::size_t(y * w + x)];
            if (bpp == 8) row[std::size_t(x)] = char(v);
            if (bpp == 4) row[std::size_t(x / 2)] = char(uint8_t(row[std::size_t(x / 2)]) | (x % 2 ? v : v << 4));
            if (bpp == 1) row[std::size_t(x / 8)] = char(uint8_t(row[std::size_t(x / 8)]) | (v << (7 - x % 8)));
        }
        out.Bytes(row);
    }
    return out.Take();
}

void ExpectPixels(const TBitmap& b, int w, int h, const std::vector<uint32_t>& palette, const std::vector<int>& indexes) {
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(Px(b.Image(), x, y), palette[std::size_t(indexes[std::size_t(y * w + x)])]) << x << "," << y;
}

std::vector<int> Indexes(int w, int h, int colours) {
    std::vector<int> v;
    for (int i = 0; i < w * h; ++i) v.push_back((i * 7 + i / w) % colours);
    return v;
}

TEST(Bitmap, GrowingAddsWhiteAndKeepsThePicture) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetSize(3, 2);
    EXPECT_EQ(Count(b.Image(), 0xFFFFFF), 6);
    b.Canvas()->SetPixels(2, 1, clRed);
    b.SetWidth(5);
    b.SetHeight(4);
    EXPECT_EQ(Px(b.Image(), 2, 1), 0xFF0000u);
    EXPECT_EQ(Count(b.Image(), 0xFFFFFF), 19);
    b.SetSize(2, 2);
    EXPECT_EQ(Count(b.Image(), 0xFFFFFF), 4);
    b.SetSize(-3, 2);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 6);
}

TEST(Bitmap, MonochromeAndMaskKeepOnlyBlackAndWhite) {
    TBitmap b;
    b.SetSize(4, 1);
    b.Canvas()->SetPixels(0, 0, clSilver);
    b.Canvas()->SetPixels(1, 0, clBlack);
    b.Canvas()->SetPixels(2, 0, clYellow);
    // Mask: the given colour becomes white, all others black.
    TBitmap m;
    m.Assign(&b);
    m.Mask(clYellow);
    EXPECT_TRUE(m.Monochrome());
    EXPECT_EQ(Px(m.Image(), 2, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(m.Image(), 3, 0), 0u);
    EXPECT_EQ(Px(b.Image(), 2, 0), 0xFFFF00u); // the copy is independent
    b.SetMonochrome(true);
    EXPECT_EQ(Px(b.Image(), 0, 0), 0u);
    EXPECT_EQ(Px(b.Image(), 3, 0), 0xFFFFFFu);
    b.Canvas()->Pen()->SetColor(clSilver);
    b.Canvas()->MoveTo(0, 0);
    b.Canvas()->LineTo(3, 0);
    EXPECT_EQ(Count(b.Image(), 0xFFFFFF), 4);
}

TEST(Bitmap, ATwoColourPictureDrawnSmallerKeepsItsBlack) {
    // Thin lines every 10 pixels across and down on a new (white) bitmap,
    // drawn at a tenth.
    TBitmap lines;
    lines.SetSize(100, 60);
    for (int x = 3; x < 100; x += 10)
        for (int y = 0; y < 60; ++y) lines.Canvas()->SetPixels(x, y, clBlack);
    lines.Canvas()->SetPixels(55, 57, clBlack);
    TBitmap colour;
    colour.Assign(&lines);
    lines.Mask(clWhite);
    struct Case {
        TBitmap* picture;
        TRect target;
        int black;
    };
    const Case cases[] = {
        {&lines, Rect(0, 0, 10, 6), 60},    // every pixel stands for one line
        {&lines, Rect(0, 0, 10, 60), 600},  // smaller across only
        {&lines, Rect(0, 0, 200, 60), 2 * (10 * 60 + 1)}, // larger: each pixel twice
        {&colour, Rect(0, 0, 10, 6), 0},    // a colour picture is sampled
    };
    for (const Case& c : cases) {
        TBitmap page;
        page.SetSize(200, 60);
        page.Canvas()->StretchDraw(c.target, c.picture);
        EXPECT_EQ(Count(page.Image(), 0), c.black) << c.target.Right << "x" << c.target.Bottom;
    }
    // The lone dot of the lower rows is kept too.
    TBitmap page;
    page.SetSize(10, 6);
    page.Canvas()->StretchDraw(Rect(0, 0, 10, 6), &lines);
    EXPECT_EQ(Px(page.Image(), 5, 5), 0u);
}

TEST(Bitmap, InTheWhiteOnBlackModeAColourPictureDrawnSmallerKeepsEveryLitPixel) {
    // Thin red lines every 10 pixels down a black picture, a blue one beside
    // each, and a lone green dot: drawn at a tenth onto a black page.
    TBitmap lines;
    lines.SetSize(100, 60);
    lines.Canvas()->Brush()->SetColor(clBlack);
    lines.Canvas()->FillRect(Rect(0, 0, 100, 60));
    for (int x = 3; x < 100; x += 10)
        for (int y = 0; y < 60; ++y) {
            lines.Canvas()->SetPixels(x, y, clRed);
            lines.Canvas()->SetPixels(x + 1, y, clBlue);
        }
    lines.Canvas()->SetPixels(58, 57, clLime);
    TBitmap page;
    page.SetSize(10, 6);
    TCanvas* c = page.Canvas();
    auto clear = [&] {
        c->Brush()->SetColor(clBlack);
        c->FillRect(Rect(0, 0, 10, 6));
    };
    clear();
    EXPECT_EQ(c->StretchBltMode(), BLACKONWHITE);
    c->StretchDraw(Rect(0, 0, 10, 6), &lines);
    EXPECT_EQ(Count(page.Image(), 0), 60) << "the default mode samples: the lines fall between";
    EXPECT_EQ(c->SetStretchBltMode(WHITEONBLACK), BLACKONWHITE);
    EXPECT_EQ(c->SetStretchBltMode(7), WHITEONBLACK);
    EXPECT_EQ(c->StretchBltMode(), WHITEONBLACK) << "an unknown mode changes nothing";
    clear();
    c->StretchDraw(Rect(0, 0, 10, 6), &lines);
    // Every pixel stands for a red and a blue pixel: the OR of both.
    EXPECT_EQ(Count(page.Image(), 0xFF00FF), 59);
    EXPECT_EQ(Px(page.Image(), 5, 5), 0xFF00FFu | 0x00FF00u) << "and the green dot";
    // Inverted twice, the reduced picture leaves the page as it was.
    const QImage before = page.Image().copy();
    c->CopyMode = cmSrcInvert;
    c->StretchDraw(Rect(0, 0, 10, 6), &lines);
    EXPECT_EQ(Count(page.Image(), 0), 60) << "each pixel inverted against itself";
    c->StretchDraw(Rect(0, 0, 10, 6), &lines);
    EXPECT_EQ(page.Image(), before);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
    TBitmap b;
    EXPECT_EQ(b.TransparentColor(), clNone);
    b.SetSize(3, 3);
    b.Canvas()->SetPixels(0, 2, clOlive);
    EXPECT_EQ(b.TransparentColor(), clOlive);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    b.SetTransparentColor(clRed);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    EXPECT_EQ(b.TransparentColor(), clRed);
    b.SetTransparentMode(tmAuto);
    EXPECT_EQ(b.TransparentColor(), clOlive);
    b.SetTransparentMode(tmFixed);
    b.Canvas()->SetPixels(0, 2, clBlue);
    EXPECT_EQ(b.TransparentColor(), clOlive);
}

TEST(Bitmap, DrawingOnTheCanvasReportsAChange) {
    TBitmap b;
    b.SetSize(5, 5);
    int changes = 0;
    b.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &b);
        ++changes;
    };
    b.Canvas()->Rectangle(0, 0, 4, 4);
    b.Canvas()->TextOut(0, 0, "Ж"_a);
    EXPECT_EQ(changes, 2);
}

TEST(Bitmap, TwentyFourBitFilesRoundTripByteForByte) {
    TBitmap b;
    b.SetSize(7, 5); // rows need padding
    b.Image() = Noise(7, 5, 99);
    const std::string bytes = b.SaveToBytes();
    EXPECT_EQ(bytes.size(), 14u + 40 + 5 * 24);
    EXPECT_EQ(uint8_t(bytes[28]), 24);
    TBitmap c;
    c.LoadFromBytes(bytes);
    EXPECT_FALSE(c.Monochrome());
    EXPECT_EQ(c.Image(), b.Image());
    EXPECT_EQ(c.SaveToBytes(), bytes);
}

TEST(Bitmap, MonochromeBitmapIsSavedWithOneBitPerPixel) {
    testenv::TempDir dir;
    TBitmap b;
    b.SetSize(11, 3);
    b.Canvas()->SetPixels(0, 0, clBlack);
    b.Canvas()->SetPixels(10, 0, clBlack);
    b.Canvas()->SetPixels(5, 2, clNavy);
    b.SetMonochrome(true);
    b.SaveToFile(dir.File("mono.bmp"));
    const std::string bytes = testenv::ReadBytes(dir.Path() / "mono.bmp");
    ByteReader r(bytes);
    EXPECT_EQ(r.Bytes(2), "BM");
    EXPECT_EQ(r.U32(), bytes.size());
    r.Skip(4);
    EXPECT_EQ(r.U32(), 14u + 40 + 8); // pixel data after the two palette entries
    EXPECT_EQ(r.U32(), 40u);
    EXPECT_EQ(r.I32(), 11);
    EXPECT_EQ(r.I32(), 3);
    EXPECT_EQ(r.U16(), 1);
    EXPECT_EQ(r.U16(), 1); // bits per pixel
    EXPECT_EQ(r.U32(), 0u);
    EXPECT_EQ(r.U32(), 3u * 4);
    r.Skip(8);
    EXPECT_EQ(r.U32(), 2u);
    r.Skip(4);
    EXPECT_EQ(r.U32(), 0u);          // black
    EXPECT_EQ(r.U32(), 0x00FFFFFFu); // white
    EXPECT_EQ(bytes.size(), 14u + 40 + 8 + 3 * 4);
    // Rows bottom-up, set bits white: pixel 5 of the bottom row, pixels 0 and
    // 10 of the top row are black.
    const std::string rows = bytes.substr(62);
    EXPECT_EQ(rows, std::string("\xFB\xE0\x00\x00\xFF\xE0\x00\x00\x7F\xC0\x00\x00", 12));

    TBitmap back;
    back.LoadFromFile(dir.File("mono.bmp"));
    EXPECT_TRUE(back.Monochrome());
    EXPECT_EQ(back.Image(), b.Image());
}

TEST(Bitmap, PalettedFilesOfEveryDepthReadRight) {
    const std::vector<uint32_t> pal16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                         0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<uint32_t> pal256;
    for (uint32_t i = 0; i < 256; ++i) pal256.push_back(i * 0x010203u & 0xFFFFFF);
    struct Case {
        const char* name;
        int w, h, bpp;
        std::vector<uint32_t> palette;
        bool topDown;
        int header;
    };
    const Case cases[] = {
        {"4 bit", 9, 4, 4, pal16, false, 40},
        {"4 bit top-down", 5, 3, 4, pal16, true, 40},
        {"8 bit", 13, 6, 8, pal256, false, 40},
        {"8 bit, short palette", 6, 2, 8, {0x102030, 0x405060, 0x708090}, false, 40},
        {"8 bit, core header", 5, 5, 8, pal256, false, 12},
        {"8 bit, version 5 header", 4, 3, 8, pal256, false, 124},
        {"1 bit coloured", 17, 2, 1, {0x0000FF, 0x00FF00}, false, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto idx = Indexes(c.w, c.h, int(c.palette.size()));
        TBitmap b;
        b.LoadFromBytes(WriteBmp(c.w, c.h, c.bpp, c.palette, idx, c.topDown, c.header));
        ExpectPixels(b, c.w, c.h, c.palette, idx);
        EXPECT_FALSE(b.Monochrome());
    }
    // A black-and-white 1-bit file (either palette order) is monochrome.
    const auto idx = Indexes(10, 3, 2);
    TBitmap inverted;
    inverted.LoadFromBytes(WriteBmp(10, 3, 1, {0xFFFFFF, 0x000000}, idx));
    EXPECT_TRUE(inverted.Monochrome());
    ExpectPixels(inverted, 10, 3, {0xFFFFFF, 0x000000}, idx);
}

TEST(Bitmap, DamagedFilesAreRefusedAndLeaveTheBitmapAsItWas) {
    const std::string good = WriteBmp(9, 7, 8, {0x112233, 0x445566}, Indexes(9, 7, 2));
    TBitmap b;
    b.SetSize(2, 2);
    b.Canvas()->SetPixels(0, 0, clRed);
    const QImage before = b.Image().copy();
    auto refused = [&](const std::string& data, const char* message) {
        try {
            b.LoadFromBytes(data);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message, AnsiString(message));
        }
        EXPECT_EQ(b.Image(), before);
    };
    // Every truncation of a good file (the last row may lack its 3 padding bytes).
    for (std::size_t n = 0; n + 3 < good.size(); ++n) {
        SCOPED_TRACE(n);
        refused(good.substr(0, n), "Bitmap image is not valid");
    }
    auto patched = [&](std::size_t at, const std::string& bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    auto u32 = [](uint32_t v) { ByteWriter w; w.U32(v); return w.Take(); };
    auto u16 = [](uint16_t v) { ByteWriter w; w.U16(v); return w.Take(); };
    refused(patched(0, "MB"), "Bitmap image is not valid");
    refused(patched(10, u32(0xFFFFFFF0)), "Bitmap image is not valid");      // pixels beyond the end
    refused(patched(14, u32(64)), "Bitmap image is not valid");              // header runs into the pixels
    refused(patched(14, u32(7)), "Bitmap image is not valid");               // unknown header
    refused(patched(18, u32(0x7FFFFFFF)), "Bitmap image is not valid");      // huge width
    refused(patched(18, u32(uint32_t(-9))), "Bitmap image is not valid");    // negative width
    refused(patched(22, u32(0x80000000)), "Bitmap image is not valid");      // no positive height
    refused(patched(22, u32(60000)), "Bitmap image is not valid");           // taller than the data
    refused(patched(26, u16(2)), "Bitmap image is not valid");               // planes
    refused(patched(46, u32(257)), "Bitmap image is not valid");             // palette too large
    refused(patched(28, u16(16)), "Bitmap format is not supported");
    refused(patched(28, u16(32)), "Bitmap format is not supported");
    refused(patched(30, u32(1)), "Bitmap format is not supported");          // run-length coded
    // A palette index beyond the colours given reads as black, not beyond the table.
    TBitmap ok;
    ok.LoadFromBytes(WriteBmp(3, 1, 8, {0xFFFFFF}, {0, 200, 0}));
    EXPECT_EQ(Px(ok.Image(), 1, 0), 0u);
}

TEST(Bitmap, FileErrorsNameTheFile) {
    testenv::TempDir dir;
    TBitmap b;
    try {
        b.LoadFromFile(dir.File("нет.bmp"_a));
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message.Pos("Cannot open file \""_a + dir.File("нет.bmp"_a) + "\""), 1);
    }
    EXPECT_THROW(b.SaveToFile(dir.File("missing/dir/x.bmp")), EFCreateError);
    testenv::WriteBytes(dir.Path() / "old.bmp", "old");
    b.SetSize(1, 1);
    EXPECT_THROW(b.SaveToFile(dir.File("old.bmp/x")), EFCreateError);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.bmp"), "old");
}

TEST(Bitmap, StreamsHoldOneBitmapAfterAnother) {
    TBitmap a, b;
    a.SetSize(3, 2);
    a.Image() = Noise(3, 2, 1);
    b.SetSize(2, 5);
    b.SetMonochrome(true);
    TMemoryStream s;
    s.Write("head", 4);
    a.SaveToStream(&s);
    b.SaveToStream(&s);
    s.SetPosition(4);
    TBitmap a2, b2;
    a2.LoadFromStream(&s);
    b2.LoadFromStream(&s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(a2.Image(), a.Image());
    EXPECT_TRUE(b2.Monochrome());
    EXPECT_EQ(b2.Height(), 5);
    TMemoryStream empty;
    EXPECT_THROW(a2.LoadFromStream(&empty), EInvalidGraphic);
}

TEST(Bitmap, EmptyBitmapSavesAndLoadsAsEmpty) {
    TBitmap e, back;
    back.SetSize(4, 4);
    back.LoadFromBytes(e.SaveToBytes());
    EXPECT_TRUE(back.Empty());
}

TEST(Bitmap, ResourcesArePaintedByName) {
    RegisterBitmapResource("TEST_GLYPH", [](TBitmap& b) {
        b.SetSize(6, 4);
        b.Canvas()->Brush()->SetColor(clGreen);
        b.Canvas()->FillRect(Rect(0, 0, 3, 4));
    });
    EXPECT_TRUE(BitmapResourceExists("test_glyph"));
    TBitmap b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.LoadFromResourceName("Test_Glyph");
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(Count(b.Image(), 0x008000), 12);
    EXPECT_EQ(changes, 1);
    try {
        b.LoadFromResourceName("NOPE");
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, AnsiString("Resource NOPE not found"));
    }
    EXPECT_EQ(b.Width(), 6);
}

} // namespace

// Rows of pixels for code that works on them directly: what the canvas drew,
// and what is written there, drawn again by the canvas afterwards.
TEST(BitmapScanLine, RowsHoldTheCanvasPixelsAndTakeWrittenOnes) {
    TBitmap b;
    b.SetSize(4, 3);
    b.Canvas()->SetPixels(2, 1, TColor(0x00332211)); // 0x00BBGGRR
    ASSERT_NE(b.ScanLine(1), nullptr);
    EXPECT_EQ(b.ScanLine(1)[2], 0xFF112233u) << "0xFFRRGGBB";
    EXPECT_EQ(b.ScanLine(0)[0], 0xFFFFFFFFu);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.ScanLine(2)[3] = 0xFF0000FFu;
    b.Changed();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Canvas()->Pixels(3, 2), TColor(0x00FF0000));
    TBitmap copy;
    copy.SetSize(4, 3);
    copy.Canvas()->Draw(0, 0, &b);
    EXPECT_EQ(copy.Canvas()->Pixels(3, 2), TColor(0x00FF0000));
    for (int row : {-1, 3}) EXPECT_EQ(b.ScanLine(row), nullptr) << row;
    EXPECT_EQ(std::as_const(b).ScanLine(1)[2], 0xFF112233u);
    TBitmap empty;
    EXPECT_EQ(empty.ScanLine(0), nullptr);
}
