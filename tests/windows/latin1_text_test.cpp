// Text for the 8-bit page file.
#include <gtest/gtest.h>

#include <string>

#include "launcher/submit/latin1_text.h"

namespace {

struct Latin1Case {
  std::string utf8;
  std::string latin1;
};

class ToLatin1 : public testing::TestWithParam<Latin1Case> {};

TEST_P(ToLatin1, OneBytePerCharacter) {
  EXPECT_EQ(kovrin::submit::ToLatin1(GetParam().utf8), GetParam().latin1) << "from \"" << GetParam().utf8 << "\"";
}

INSTANTIATE_TEST_SUITE_P(Texts, ToLatin1,
                         testing::Values(Latin1Case{"plain ASCII 123,4", "plain ASCII 123,4"},
                                         Latin1Case{"gel\xC3\xB6scht", "gel\xF6scht"},
                                         Latin1Case{"\xC2\xA0nbsp", "\xA0nbsp"}, Latin1Case{"\xC3\xBF", "\xFF"},
                                         Latin1Case{"euro \xE2\x82\xAC", "euro ?"}, Latin1Case{"\xF0\x9F\x98\x80", "?"},
                                         Latin1Case{"c1 \xC2\x85", "c1 ?"},          // no printable sign in ISO-8859-1
                                         Latin1Case{"bad \xFF byte", "bad ? byte"},  // not UTF-8
                                         Latin1Case{"cut \xC3", "cut ?"},            // sequence cut short
                                         Latin1Case{"overlong \xC0\xAF", "overlong ??"},  // "/" written in two bytes
                                         Latin1Case{"overlong \xE0\x80\xBC", "overlong ???"}));

TEST(DropLastCharacters, CountsCharactersNotBytes) {
  EXPECT_EQ(kovrin::submit::DropLastCharacters("123.4 fps", 4), "123.4");
  EXPECT_EQ(kovrin::submit::DropLastCharacters("12\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4), "12");
  EXPECT_EQ(kovrin::submit::DropLastCharacters("abcd", 4), "");
  EXPECT_EQ(kovrin::submit::DropLastCharacters("ab", 4), "");
  EXPECT_EQ(kovrin::submit::DropLastCharacters("abc", 0), "abc");  // read one past the character starts
  EXPECT_EQ(kovrin::submit::DropLastCharacters("\xC3\xA9 fps", 0), "\xC3\xA9 fps");
  EXPECT_EQ(kovrin::submit::DropLastCharacters("", 0), "");
}

}  // namespace
