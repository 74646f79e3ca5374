#pragma once

#include "PackFormat.h"

#include <string>
#include <string_view>

// The readable source of a language pack, the text that translators edit (UTF-8):
//
//   # a comment
//   pack Chimewell language pack: Deutsch      (optional: the 32-byte header text)
//   [Form1]                                    (one section per window, by its name)
//   title = Chimewell                          (the title; a second field overrides it)
//   Command1 = ... | Durchsuchen               (caption | tooltip | caption override |
//                                               tooltip override | extra)
//   SSTab1.TabCaption(0) = "Allgemein "        (quotes keep blanks; \" \\ \n \t inside)
//   [strings]                                  (loose strings: NAME = VALUE)
//
// Fields are trimmed unless quoted; an empty field is nothing between two bars. Keys and window
// names may be quoted too ("title" = ... is a control named title). Before the first section,
// "tag TEXT" and "encoding windows-1252" keep the rest of the header.

namespace chimewell::pack {

/// Reads a source into a pack. False with "line N: ..." in `error` for a bad source.
bool parseSource(std::string_view source, Pack& pack, std::string& error);

/// The canonical source of a pack: parseSource of it gives the same pack back, and for a
/// source in canonical form formatSource(parseSource(s)) == s.
std::string formatSource(const Pack& pack);

} // namespace chimewell::pack
