// Lines drawn with the colours of the keyword set: keywords by their type, comments in the
// line's colour, every occurrence of the editor's search string in the colour of the
// "P^ulldown" slot. Each line is taken from its start, so that what lies left of the shown
// part colours it as it would unscrolled, and hands on whether it ends inside a block
// comment to the line after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "syntax/keywords.h"

namespace corvane {

// What a byte of a line is drawn as: PaintPlain in the line's colour, 1 to 15 that
// foreground on the line's background, PaintHit in the search hit's colour.
constexpr std::uint8_t PaintPlain = 0;
constexpr std::uint8_t PaintHit = 16;

// The paint of a keyword type.
std::uint8_t paintOfType(int type);

// Paints text from its start by the set's keywords: paint gets one entry per byte.
// inComment tells whether the line begins inside a block comment (only in comment mode)
// and receives whether it ends inside one. The scan tries the keywords, in file order, at the
// line's start, after each match, at each delimiter and right after it, and at each byte a
// comment marker starts with; a keyword of more than one character needs a delimiter or the
// line end after it (comment starts and line comments do not).
void paintLine(const KeywordSet& set, std::string_view text, bool& inComment,
               std::vector<std::uint8_t>& paint);

// Paints every occurrence of the finder's pattern in text as PaintHit.
void paintHits(const TextFinder& finder, std::string_view text, std::vector<std::uint8_t>& paint);

// What one earlier line tells about whether a later one begins inside a block comment:
// its block-comment ends are passed first; then a block-comment start in the rest says
// Inside unless a line-comment marker stands before it; otherwise a passed end says Outside
// and a line holding neither says Unknown (look at the line before). holdsStart and holdsEnd
// are what the line's flags say about "/*" and "*/" (the text is searched for other markers).
enum class CommentVerdict { Inside, Outside, Unknown };
CommentVerdict commentVerdict(const KeywordSet& set, std::string_view text, bool holdsStart,
                              bool holdsEnd);

// What firstColumn of drawColouredLine counts: characters (the editor) or screen cells (the
// viewer's formatted rows).
enum class ColumnUnit { Characters, Cells };

struct LineLook {
  ColorAttr normal = 0x07;
  bool plain = false;  // the whole row in the normal colour (a marked block, a title line)
  ColumnUnit unit = ColumnUnit::Characters;
};

// Draws text (UTF-8) into row of the current window from firstColumn on with the loaded
// keyword set and search string, and clears the rest of the row to the window's right edge.
// inComment as for paintLine. A wide character cut by the left edge shows as a blank.
void drawColouredLine(std::string_view text, int row, int firstColumn, const LineLook& look,
                      bool& inComment);

// The search string every drawn line shows (empty: none); folded: a to z in any case.
void setHighlight(std::string_view pattern, bool folded);

// The word around byte at of text, bounded by the delimiters of the set; empty on a
// delimiter or past the end.
std::string delimitedWordAt(const KeywordSet& set, std::string_view text, std::size_t at);

}  // namespace corvane
