#pragma once
// Prints the symbol stream of a page, one symbol a line (vultaria-render --symbols, and
// the reader tests, which read as an input page and the expected listing):
//   H level=3
//     ALIGN="center" int=0
//   Text "José" @10-13
// Text is UTF-8; positions are the source positions of the UTF-16 units, runs of
// consecutive positions written as a range.

#include <map>
#include <string>

struct SymbolDumpOptions {
    int codePage = 1252;
    // Include comments answer with the text kept under their first parameter's value
    // (or the command when there is none); without entries the include event is unset.
    std::map<std::string, std::string> includes;
};

std::string DumpSymbols(std::string page, const SymbolDumpOptions& options = {});
