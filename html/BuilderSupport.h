#pragma once
// Small pieces the builder's files share.

#include <initializer_list>
#include <memory>

#include "html/Attributes.h"
#include "html/Builder.h"
#include "platform/ScopedCount.h"

// The pixels the automatic paragraph space stands for.
inline constexpr int kParagraphSpacePixels = 14;

TSymbolSet SymbolSet(std::initializer_list<THtmlSymbol> symbols);

// A copy of a tag's attributes, for elements that read on before they build their box.
std::unique_ptr<TAttributeList> CopyAttributes(const TAttributeList& source);

// Counts one level of block nesting for as long as it lives.
using TNestingLevel = platform::ScopedCount;
