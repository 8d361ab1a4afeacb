#pragma once
// The reader's command line.

#include <string>
#include <vector>

namespace app {

struct Options {
    std::string dataFolder;  // the collection; see FindDefaultCollection when not given
    // True when dataFolder is the collection installed with the program, which the reader
    // never writes to.
    bool installedCollection = false;
    std::string screenshot;  // when set: save a picture of the started window there and quit
    bool help = false;
    bool version = false;
    std::string error;  // a message when the command line could not be read
};

Options ParseOptions(const std::vector<std::string>& arguments);
const char* UsageText();
// "vultaria VERSION" and a line end.
std::string VersionText();

// The collection when none is named on the command line, for an executable in
// `executableDirectory` (with a trailing '/'): output/ beside it, else the collection
// installed with it (share/vultaria/output/ beside its bin/ folder), else output/ beside
// it again, so that what is missing is named from there.
struct DefaultCollection {
    std::string folder;  // with a trailing '/'
    bool installed = false;
};
DefaultCollection FindDefaultCollection(const std::string& executableDirectory);

}  // namespace app
