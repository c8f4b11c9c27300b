#include <climits>

#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"
#include "platform/MulDiv.h"

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroInSixtyFourBits) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {10, 10, 4, 25},       {5, 1, 2, 3},          {-5, 1, 2, -3},      {5, -1, 2, -3},
        {5, 1, -2, -3},        {-5, -1, -2, -3}, {-5, -1, 2, 3},       {7, 1, 3, 2},        {8, 1, 3, 3},
        {-7, 1, 3, -2},        {-8, 1, 3, -3},        {1, 1, 3, 0},        {100000, 100000, 100000, 100000},
        {INT_MAX, 2, 2, INT_MAX}, {INT_MIN, 1, 1, INT_MIN}, {INT_MAX, INT_MAX, 1, -1}, {INT_MIN, -1, 1, -1},
        {1, 2, 0, -1},         {0, 5, 0, -1},         {0, 5, 7, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(DynamicLibrary, MapsWindowsNamesToSharedObjects) {
    EXPECT_EQ(SharedLibraryFileName("translate.dll"), "libtranslate.so");
    EXPECT_EQ(SharedLibraryFileName("TRANSLATE.DLL"), "libTRANSLATE.so");
    EXPECT_EQ(SharedLibraryFileName("C:\\prog\\translate.dll"), "libtranslate.so");
    EXPECT_EQ(SharedLibraryFileName("translate"), "libtranslate.so");
    EXPECT_EQ(SharedLibraryFileName("libm.so.6"), "libm.so.6");
}

TEST(DynamicLibrary, LoadsFromTheExecutableFolderAndFindsEntryPoints) {
    EXPECT_EQ(LoadLibraryA("no_such_library_ge.dll"), nullptr);
    EXPECT_FALSE(LastLibraryError().IsEmpty());
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "_GenerateDatFile"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));

    HMODULE h = LoadLibraryA("getestlib.dll");
    ASSERT_NE(h, nullptr) << LastLibraryError().c_str();
    using Generate = int (*)(const char*, int);
    auto generate = reinterpret_cast<Generate>(GetProcAddress(h, "_GenerateDatFile"));
    ASSERT_NE(generate, nullptr);
    EXPECT_EQ(generate("abc", 1), 301);
    EXPECT_EQ(GetProcAddress(h, "_ConvertDatFile"), nullptr);
    EXPECT_TRUE(FreeLibrary(h));
}

} // namespace
