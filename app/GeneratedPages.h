#pragma once
// Where the reader writes the pages it makes itself (the home page and the search
// results). They belong in the collection's folder, beside the style sheet they link.
// A collection that cannot be written to, or that was installed with the program, gets
// them in the user's cache folder instead, beside a copy of that style sheet and links
// to the collection's other files and folders, so every name in them still finds what
// it names.

#include <string>

namespace app {

// Whether the reader may write into the collection's folder at all.
enum class CollectionWrites {
    WhenPossible,  // a collection of the user's: written to unless its folder is read-only
    Never,         // the collection installed with the program, whoever runs it
};

// The folder for the generated pages of the collection in `collectionFolder` (with a
// trailing '/'), ending in '/': the collection's own folder when it may be written and
// can be, else the user's cache folder, set up as above. A cache folder that cannot be
// set up is still the answer: writing the pages there then fails and says where.
std::string PrepareGeneratedPagesFolder(const std::string& collectionFolder,
                                        CollectionWrites writes);

}  // namespace app
