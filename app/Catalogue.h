#pragma once
// The collection's catalogues: the three parallel text files that list the
// biographies, and the accent-folded search keys built from the names.

#include <string>
#include <string_view>

namespace app {

inline constexpr const char* kNamesFile = "lista_nome.txt";
inline constexpr const char* kPagesFile = "filemd5.txt";
inline constexpr const char* kActivitiesFile = "lista_atuacao.txt";

// Replaces the accented Latin letters of Windows-1252 by their base letter, byte by
// byte, keeping case. Å, Æ, Ð, Ø, Þ, ß (and their small forms) are left alone.
std::string RemoveAcentos(std::string_view text);

// The search key of a name: folded, then upper-cased.
std::string SearchKey(std::string_view name);

}  // namespace app
