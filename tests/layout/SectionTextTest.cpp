// A section's characters, kept at one byte each while they are Latin-1 and at two once
// one is not: whatever is done to them must read back as the same UTF-16 text.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "layout/SectionText.h"

namespace {

std::u16string Latin1AndOne(std::size_t length, std::size_t wideAt, char16_t wide) {
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char16_t>(0xA0 + i % 0x60);
    if (wideAt < length) text[wideAt] = wide;
    return text;
}

}  // namespace

TEST(SectionText, Latin1StaysOneByteAndReadsBackUnsigned) {
    TSectionText text;
    const std::u16string latin1 = u"Jos\u00E9 \u00FFde Alencar\u00A0\u00C7";
    text += latin1;
    EXPECT_FALSE(text.IsWide());
    EXPECT_EQ(latin1, text.str());
    EXPECT_EQ(u'\u00FF', text[5]);  // not a sign-extended 0xFFFF
    EXPECT_EQ(u'\u00C7', text.back());
    EXPECT_EQ(5u, text.find(u'\u00FF'));
    EXPECT_EQ(TSectionText::npos, text.find(u'\u0178')) << "beyond Latin-1: not in a narrow text";
    EXPECT_EQ(TSectionText::npos, text.find(u'J', 1));
    EXPECT_EQ(TSectionText::npos, text.find(u'J', 99));
}

// The narrowing takes 16 characters a step: a character beyond U+00FF must be seen in
// any place of a step and in the characters after the last whole step.
TEST(SectionText, ACharacterBeyondLatin1AnywhereWidensAndKeepsWhatCameBefore) {
    for (std::size_t length : {1u, 15u, 16u, 17u, 40u}) {
        for (std::size_t at = 0; at < length; ++at) {
            for (char16_t wide : {u'\u0100', u'\u20AC', u'\uFF00'}) {
                TSectionText text;
                text += u"abc\u00E9";
                const std::u16string piece = Latin1AndOne(length, at, wide);
                text += piece;
                ASSERT_TRUE(text.IsWide()) << length << " " << at;
                ASSERT_EQ(u"abc\u00E9" + piece, text.str()) << length << " " << at;
                text += u"z\u00FF";
                ASSERT_EQ(u"abc\u00E9" + piece + u"z\u00FF", text.str()) << length << " " << at;
            }
        }
    }
}

TEST(SectionText, ViewsWidenIntoTheScratchOnlyWhileNarrow) {
    TSectionText text;
    text += u"0123456789abcdefghij\u00E1";
    std::u16string scratch(64, u'#');  // larger than needed: the view must still be exact
    EXPECT_EQ(u"9abcdefghij\u00E1", text.View(9, 100, scratch));
    EXPECT_EQ(u"", text.View(21, 5, scratch));
    EXPECT_EQ(u"0123456789abcdefghij\u00E1", text.View(0, text.size(), scratch));
    EXPECT_EQ(u"cdef", text.substr(12, 4));
    text.Set(1, u'\u0152');  // a wide character set in place widens too
    ASSERT_TRUE(text.IsWide());
    const std::u16string_view view = text.View(0, 3, scratch);
    EXPECT_EQ(u"0\u01522", view);
    EXPECT_NE(scratch.data(), view.data()) << "a wide text is viewed in place";
}

TEST(SectionText, CopiesAreTheirOwnAndMovesLeaveAnEmptyText) {
    TSectionText text;
    text += u"Machado";
    TSectionText copy = text;
    copy.Set(0, u'm');
    text += u"\u2014";
    EXPECT_EQ(u"machado", copy.str());
    EXPECT_FALSE(copy.IsWide());
    EXPECT_EQ(u"Machado\u2014", text.str());
    TSectionText moved = std::move(text);
    EXPECT_EQ(u"Machado\u2014", moved.str());
    EXPECT_TRUE(text.empty());  // NOLINT: a moved-from text is empty and usable
    text += u"again";
    EXPECT_EQ(u"again", text.str());
    copy = moved;
    EXPECT_EQ(u"Machado\u2014", copy.str());
    copy = TSectionText();
    EXPECT_TRUE(copy.empty());
}

// Every change, in a long random mix, against the same changes to a std::u16string.
TEST(SectionText, EveryChangeAgreesWithAPlainString) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 200; ++round) {
        TSectionText text;
        std::u16string model;
        for (int step = 0; step < 60; ++step) {
            const int op = static_cast<int>(random() % 10);
            if (op < 5) {
                std::u16string piece(random() % 40, u' ');
                for (char16_t& c : piece) {
                    const unsigned r = random() % 200;
                    c = r == 0 ? static_cast<char16_t>(0x100 + random() % 0xFE00)
                               : static_cast<char16_t>(random() % 0x100);
                }
                text += piece;
                model += piece;
            } else if (op == 5 && !model.empty()) {
                const std::size_t at = random() % model.size();
                const std::size_t count = random() % 4;
                text.erase(at, count);
                model.erase(at, count);
            } else if (op == 6 && !model.empty()) {
                const std::size_t at = random() % model.size();
                const char16_t c =
                    random() % 50 == 0 ? u'\u0401' : static_cast<char16_t>(random() % 0x100);
                text.Set(at, c);
                model[at] = c;
            } else if (op == 7) {
                const std::size_t n = model.empty() ? 0 : random() % (model.size() + 2);
                text.Truncate(n);
                if (n < model.size()) model.resize(n);
            } else if (op == 8) {
                text.shrink_to_fit();
                ASSERT_EQ(text.size(), text.capacity());
            } else {  // a long piece: the text grows in a large step
                const std::u16string piece(40 + random() % 100, u'x');
                text += piece;
                model += piece;
            }
            ASSERT_EQ(model.size(), text.size()) << round << " " << step;
            ASSERT_EQ(model, text.str()) << round << " " << step;
        }
        std::u16string scratch;
        for (std::size_t start = 0; start <= model.size(); start += 7)
            ASSERT_EQ(model.substr(start, 9), text.View(start, 9, scratch)) << round;
        for (char16_t c : {u' ', u'\u00E9', u'\u0401'})
            ASSERT_EQ(model.find(c, 3), text.find(c, 3)) << round;
        bool anyOrPair = false;
        for (std::size_t i = 0; i < model.size(); ++i)
            anyOrPair = anyOrPair || model[i] == u'\x08' || model[i] == u'\x04' ||
                        (model[i] == u' ' && i > 0 && model[i - 1] == u' ');
        ASSERT_EQ(anyOrPair, text.ContainsAnyOrPair(u'\x08', u'\x04', u' ')) << round;
        // The runs between two separators, worked out the plain way.
        std::size_t first = 0, longest = 0, run = 0;
        for (std::size_t i = 0; i <= model.size(); ++i) {
            if (i < model.size() && model[i] != u' ' && model[i] != u'\xE9') {
                ++run;
                continue;
            }
            if (first == 0) first = run;
            longest = std::max(longest, run);
            run = 0;
        }
        std::size_t gotFirst = 99, gotLongest = 99;
        text.RunsBetween(u' ', u'\xE9', gotFirst, gotLongest);
        ASSERT_EQ(first, gotFirst) << round;
        ASSERT_EQ(longest, gotLongest) << round;
    }
}

// The look for forced breaks, objects and doubled blanks goes sixteen characters a
// step: each must be seen at every place, and a lone blank never counts.
TEST(SectionText, BreaksObjectsAndDoubledBlanksAreFoundAnywhere) {
    for (bool wide : {false, true}) {
        for (std::size_t length = 1; length <= 40; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::u16string plain(length, u'a');
                if (wide) plain += u'\u0100';
                auto contains = [](const std::u16string& s) {
                    TSectionText text;
                    text += s;
                    return text.ContainsAnyOrPair(u'\b', u'\x04', u' ');
                };
                std::u16string lone = plain;
                lone[at] = u' ';
                EXPECT_FALSE(contains(lone)) << wide << " " << length << " " << at;
                std::u16string forced = plain;
                forced[at] = u'\b';
                EXPECT_TRUE(contains(forced)) << wide << " " << length << " " << at;
                std::u16string object = plain;
                object[at] = u'\x04';
                EXPECT_TRUE(contains(object)) << wide << " " << length << " " << at;
                if (at + 1 < length) {
                    std::u16string doubled = plain;
                    doubled[at] = doubled[at + 1] = u' ';
                    EXPECT_TRUE(contains(doubled)) << wide << " " << length << " " << at;
                }
            }
        }
    }
}
