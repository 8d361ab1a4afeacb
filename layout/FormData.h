#pragma once
// The values of a page's forms as the viewer keeps them with a history entry: per form,
// the "name=value" texts its controls give, in document order.

#include <string>
#include <vector>

using TFormData = std::vector<std::vector<std::string>>;
