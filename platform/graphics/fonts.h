// Real fonts: the packaged font family, loaded through fontconfig on its own
// (so no other font on the machine changes a measurement), laid out with Pango
// and painted with cairo. Text is 8-bit code-page text, as the library has it.
#pragma once
#include <corvaplat/gdi.h>

#include <string_view>
#include <vector>

typedef struct _cairo cairo_t;

namespace corva::platform::fonts {

// The metrics of the font a description stands for: any face name the
// packaged family lacks falls back to its sans-serif face.
TextMetric metrics(const LogFont& font);
// The width of the text and the font's cell height.
Size measure(const LogFont& font, std::string_view text);
// The width of each prefix of one line of text: element i is the width of its
// first i characters (i from 0 to its length), from one layout of the line.
std::vector<int> prefix_widths(const LogFont& font, std::string_view text);
// Paints the text with its cell's top-left corner at (x, y) in the current
// source colour; `underline` (an index into the text, or -1) underlines one
// character, the mnemonic.
void draw(cairo_t* cr, const LogFont& font, std::string_view text, double x, double y,
          int underline);

}  // namespace corva::platform::fonts
