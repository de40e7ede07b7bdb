#pragma once
// The program block under the name the front ends use; it is defined beside
// the windows that share it (diagram/ui/program.h).

#include "diagram/ui/program.h"

namespace app {

using diagram::ui::kDefaultImageName;
using diagram::ui::Program;

}  // namespace app
