// The Qt edge: every Windows-1251 byte survives the trip through QString, and
// colours come out in Qt's channel order.

#include <gtest/gtest.h>

#include "platform/QtText.h"

namespace {

TEST(QtText, EveryByteSurvivesTheTripThroughQString) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    const AnsiString s(all);
    const QString q = ToQString(s);
    ASSERT_EQ(q.size(), 256);
    EXPECT_EQ(q[0x98].unicode(), 0x0098);
    EXPECT_EQ(q[0xA8].unicode(), 0x0401); // Ё
    EXPECT_EQ(FromQString(q), s);
    EXPECT_EQ(ToQString("Привет, мир"_a), QString::fromUtf8("Привет, мир"));
    EXPECT_EQ(FromQString(QString::fromUtf8("Ёлка №5")), "Ёлка №5"_a);
}

TEST(QtText, CharactersWithoutAByteBecomeOneQuestionMark) {
    EXPECT_EQ(FromQString(QString::fromUtf8("a\u4e2db")), AnsiString("a?b"));
    EXPECT_EQ(FromQString(QString::fromUtf8("x\U0001F600y")), AnsiString("x?y"));
}

TEST(QtText, ColoursAndRectangles) {
    EXPECT_EQ(ToQRgb(RGB(0x12, 0x34, 0x56)), qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(FromQRgb(ToQRgb(clNavy)), clNavy);
    const TRect r(3, 4, 10, 6);
    EXPECT_EQ(ToQRect(r), QRect(3, 4, 7, 2));
    EXPECT_EQ(FromQRect(ToQRect(r)), r);
    EXPECT_EQ(FromQPoint(ToQPoint({-1, 5})), TPoint(-1, 5));
}

} // namespace
