#include <gtest/gtest.h>

#include "ui/titles.h"

namespace zelvaran::ui {
namespace {

TEST(Titles, PlainDecimalNumbersWithoutPadding) {
    EXPECT_EQ(MainTitle({1, 0, 42}), L"Morvantic SecurityZelvaran v1.0.42");
    EXPECT_EQ(VersionLine({1, 0, 42}), L"Versi\u00F3n: 1.0.42");
    EXPECT_EQ(MainTitle({12, 3, 4}), L"Morvantic SecurityZelvaran v12.3.4");
    EXPECT_EQ(VersionLine({2, 10, 0}), L"Versi\u00F3n: 2.10.0");
}

} // namespace
} // namespace zelvaran::ui
