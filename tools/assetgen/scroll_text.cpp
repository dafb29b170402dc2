#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/output_file.h"

// The star scene's scroll text. The scroller draws line feeds as blank cells,
// so every line ends in a few spaces and blocks are parted by lines of
// fifteen spaces; the text runs round as a ring.
namespace {

const std::string separator(15, ' ');
const std::string visit = "VISIT: WWW.QUOMBRAX.EXAMPLE.ORG  ";
const std::string contact = "CONTACT: KADWELON (AT) EXAMPLE.ORG  ";

std::vector<std::string> scroll_lines() {
  return {
      separator,
      "QUOMBRAX  ",
      "HARBOUR LIGHTS 2010   ",
      "COMPUTER PARTY COMPETITION  ",
      "20101022  ",
      separator,
      "PRESS KEYS: ",
      "ESC,Q: EXIT  ",
      "SPACE: NEXT PART  ",
      "8: SHOW F.P.S. ON/OFF   ",
      "9: FULL SPEED ON/OFF   ",
      "AS: SCROLL SPEED    ",
      separator,
      "THIS NEW CREATION, ",
      "5 PART DEMOSTRATION, ",
      "GRAPHICS EFFECTS AND ",
      "ELECTRONIC/HOUSE MUSIC! ",
      separator,
      "AVAILABLE FOR WXP AND LINUX. ",
      "SDL LIBRARY VERSION. ",
      separator,
      "GREETINGS TO:  ",
      "NIGHTFALL SYSTEMS, THE ORBITAL DUCKS, ",
      "THE PIXEL LANTERNS, CRYSTAL MOTH 64, ",
      "VECTOR HARVEST, SOLAR PUDDING INC., ",
      "KOBALT ARMADA, THE QUIET BITS CREW, ",
      "MOONLIGHT COPPER, DATASTORM DESIGN, ",
      "RASTER ORCHARD, POLAR JAM & FRIENDS, ",
      "HYPERLOOM, THE COSINE CLUB, ",
      "AMBER CIRCUIT, MIDNIGHT TAPE 2000, ",
      "THE SINEWAVE SOCIETY (SWS), ",
      "WWW.DEMOPARTY.EXAMPLE.COM, ",
      "WWW.PIXELBOARD.EXAMPLE.NET, ",
      "WWW.TRACKERS.EXAMPLE.ORG, ",
      "AND EVERYONE WHO IS WATCHING... ",
      separator,
      visit,
      separator,
      contact,
      separator,
      "Universal",
      "Declaration of",
      "Human Rights",
      "10 December 1948",
      "Article 1 ",
      "All human beings ",
      "are born free and ",
      "equal in dignity ",
      "and rights. They ",
      "are endowed with ",
      "reason and conscience ",
      "and should act towards ",
      "one another in a ",
      "spirit of brotherhood. ",
      separator,
      visit,
      separator,
      contact,
      separator,
      visit,
      separator,
      contact,
      separator,
      "(C) 2010 KADWELON. ",
      "CODE, PICTURES AND SOUNDS ",
      "ALL MADE FROM SCRATCH! ",
      separator,
      "9.8.7.6.5.4.3.2.1.0   ",
      separator,
  };
}

constexpr size_t expected_lines = 69;
constexpr size_t expected_bytes = 1577;

}  // namespace

void make_scroll_text(const std::string& folder) {
  std::string text;
  std::vector<std::string> lines = scroll_lines();
  for (const auto& line : lines) text += line + "\n";
  if (lines.size() != expected_lines || text.size() != expected_bytes) {
    std::fprintf(stderr, "assetgen: scroll text has %zu lines, %zu bytes\n", lines.size(),
                 text.size());
    std::exit(1);
  }
  write_file(folder + "/scroll_text.txt", text);
}
