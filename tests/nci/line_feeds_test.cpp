// The line-feed sweep against a byte-by-byte search: feeds on and around the 16-byte steps,
// runs longer than the 255-byte counting runs, texts of every length up to a few steps.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "nci/line_feeds.h"

namespace morvane {
namespace {

std::vector<std::size_t> feedsOneByOne(const std::string& text) {
    std::vector<std::size_t> feeds;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') feeds.push_back(i);
    return feeds;
}

std::vector<std::size_t> feedsSwept(const std::string& text) {
    std::vector<std::size_t> feeds;
    forEachLineFeed(text.data(), text.size(), [&](std::size_t at) { feeds.push_back(at); });
    return feeds;
}

TEST(LineFeeds, SweepFindsWhatAByteSearchFinds) {
    std::mt19937 random(7);
    for (std::size_t length = 0; length <= 600; ++length) {
        for (const int feedsPerHundred : {0, 3, 30, 100}) {
            std::string text(length, 'x');
            for (char& c : text)
                if (static_cast<int>(random() % 100) < feedsPerHundred) c = '\n';
            if (length > 0 && feedsPerHundred == 3) text.back() = '\n';
            const std::vector<std::size_t> expected = feedsOneByOne(text);
            EXPECT_EQ(feedsSwept(text), expected) << length << " / " << feedsPerHundred;
            EXPECT_EQ(countLineFeeds(text.data(), text.size()), expected.size()) << length;
        }
    }
}

TEST(LineFeeds, BytesThatOnlyLookLikeFeedsAreNotCounted) {
    // Carriage returns, NULs and bytes with the high bit set around the feeds.
    const std::string text("\r\n\0\n\x8a\n\xff\x0a\x0b\x09", 10);
    EXPECT_EQ(feedsSwept(text), (std::vector<std::size_t>{1, 3, 5, 7}));
    EXPECT_EQ(countLineFeeds(text.data(), text.size()), 4u);
    // A count past 255 in one run would wrap a byte-wide total.
    const std::string feeds(1000, '\n');
    EXPECT_EQ(countLineFeeds(feeds.data(), feeds.size()), 1000u);
}

}  // namespace
}  // namespace morvane
