// The star scene's scroll text: its size, its lines and the rules each line
// keeps, checked on the compiled-in bytes.
#include "show/assets/scroll_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines() {
  std::vector<std::string> out;
  std::string text(scroll_text);
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// Line numbers count from 1, as a reader of the text would.
const std::set<int> separator_lines = {1, 6, 13, 18, 21, 36, 38, 40, 55, 57, 59, 61, 63, 67, 69};
constexpr int quotation_first = 41;
constexpr int quotation_last = 54;

bool in_quotation(int line) { return line >= quotation_first && line <= quotation_last; }

size_t trailing_spaces(const std::string& line) {
  size_t kept = line.find_last_not_of(' ');
  return kept == std::string::npos ? line.size() : line.size() - kept - 1;
}

TEST(ScrollText, SixtyNineLineFeedEndedLinesIn1577Bytes) {
  ASSERT_EQ(std::strlen(scroll_text), 1577u);
  EXPECT_EQ(scroll_text[1576], '\n');
  EXPECT_EQ(lines().size(), 69u);
}

TEST(ScrollText, SeparatorsAreFifteenSpacesAndNothingElseIsBlank) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  for (int n = 1; n <= 69; ++n) {
    const std::string& line = text[n - 1];
    if (separator_lines.count(n)) {
      EXPECT_EQ(line, std::string(15, ' ')) << "line " << n;
    } else {
      EXPECT_NE(trailing_spaces(line), line.size()) << "line " << n << " is blank";
    }
  }
}

TEST(ScrollText, QuotedLinesStandVerbatimInTheirPlaces) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  const std::pair<int, const char*> quoted[] = {
      {2, "QUOMBRAX  "},
      {4, "COMPUTER PARTY COMPETITION  "},
      {5, "20101022  "},
      {7, "PRESS KEYS: "},
      {8, "ESC,Q: EXIT  "},
      {9, "SPACE: NEXT PART  "},
      {10, "8: SHOW F.P.S. ON/OFF   "},
      {11, "9: FULL SPEED ON/OFF   "},
      {12, "AS: SCROLL SPEED    "},
      {14, "THIS NEW CREATION, "},
      {15, "5 PART DEMOSTRATION, "},
      {16, "GRAPHICS EFFECTS AND "},
      {17, "ELECTRONIC/HOUSE MUSIC! "},
      {19, "AVAILABLE FOR WXP AND LINUX. "},
      {20, "SDL LIBRARY VERSION. "},
      {22, "GREETINGS TO:  "},
      {68, "9.8.7.6.5.4.3.2.1.0   "},
  };
  for (auto [n, line] : quoted) EXPECT_EQ(text[n - 1], line) << "line " << n;
  EXPECT_NE(text[2].find("2010"), std::string::npos) << "the event's name carries the year";
}

TEST(ScrollText, AddressLinesRepeatAndUseReservedExampleDomains) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  for (int n : {37, 56, 60}) {
    EXPECT_EQ(text[n - 1].rfind("VISIT: ", 0), 0u) << "line " << n;
    EXPECT_EQ(text[n - 1], text[36]) << "line " << n;
  }
  for (int n : {39, 58, 62}) {
    EXPECT_EQ(text[n - 1].rfind("CONTACT: ", 0), 0u) << "line " << n;
    EXPECT_EQ(text[n - 1], text[38]) << "line " << n;
  }
  auto reserved = [](const std::string& line) {
    for (const char* domain : {"EXAMPLE.ORG ", "EXAMPLE.COM ", "EXAMPLE.NET "}) {
      size_t at = line.find(domain);
      if (at != std::string::npos && (at == 0 || line[at - 1] == '.' || line[at - 1] == ' '))
        return true;
    }
    return false;
  };
  EXPECT_TRUE(reserved(text[36])) << text[36];
  EXPECT_TRUE(reserved(text[38])) << text[38];
}

TEST(ScrollText, GreetingsListNamesAndEndWithAnEllipsis) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  for (int n = 23; n <= 34; ++n) {
    EXPECT_NE(text[n - 1].find(", "), std::string::npos) << "line " << n << " is a list";
  }
  const std::string& last = text[34];
  ASSERT_GE(last.size(), 4u);
  EXPECT_EQ(last.substr(last.size() - 4), "... ");
}

TEST(ScrollText, QuotationIsMixedCaseAndOpensWithFourBareLines) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  std::string quotation;
  for (int n = quotation_first; n <= quotation_last; ++n) quotation += text[n - 1] + " ";
  EXPECT_NE(quotation.find("Declaration"), std::string::npos);
  EXPECT_NE(quotation.find("Rights"), std::string::npos);
  EXPECT_NE(quotation.find("Article"), std::string::npos);
  EXPECT_TRUE(std::any_of(quotation.begin(), quotation.end(), ::islower));
  for (int n = quotation_first; n < quotation_first + 4; ++n) {
    EXPECT_EQ(trailing_spaces(text[n - 1]), 0u) << "line " << n;
  }
}

TEST(ScrollText, EveryOtherLineEndsInOneToFourSpacesAndUsesOnlyTheListedCharacters) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  const std::string marks = " !&(),-./:;";
  for (int n = 1; n <= 69; ++n) {
    const std::string& line = text[n - 1];
    bool quotation = in_quotation(n);
    if (!separator_lines.count(n) && !(quotation && n < quotation_first + 4)) {
      EXPECT_GE(trailing_spaces(line), 1u) << "line " << n;
      EXPECT_LE(trailing_spaces(line), 4u) << "line " << n;
    }
    for (char c : line) {
      bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     marks.find(c) != std::string::npos || (quotation && c >= 'a' && c <= 'z');
      EXPECT_TRUE(allowed) << "line " << n << " has '" << c << "'";
    }
  }
}

TEST(ScrollText, AuthorshipNoticeNamesTheYear) {
  auto text = lines();
  ASSERT_EQ(text.size(), 69u);
  std::string notice = text[63] + text[64] + text[65];
  EXPECT_NE(notice.find("2010"), std::string::npos);
}

}  // namespace
