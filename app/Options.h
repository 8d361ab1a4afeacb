#pragma once
// The reader's command line.

#include <string>
#include <vector>

namespace app {

struct Options {
    std::string dataFolder;  // the collection; default: output/ beside the executable
    std::string screenshot;  // when set: save a picture of the started window there and quit
    bool help = false;
    std::string error;  // a message when the command line could not be read
};

Options ParseOptions(const std::vector<std::string>& arguments);
const char* UsageText();

}  // namespace app
