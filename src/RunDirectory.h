// The run directory: the folder holding Data/, where the show's programs read everything from.
// The program itself always runs in it (its launcher goes there first); the render tool and the
// preview find it on their own, so they work from any folder, installed or in the build tree.
#pragma once

#include <string>

// Makes the run directory the working directory: the working directory itself when it holds
// Data/, otherwise the folder of this executable when it does (the build tree), otherwise the
// installed one, found from the executable as the launcher finds it. Throws a Tarn::Exception
// naming the places looked at when none holds Data/.
void enterRunDirectory();

// The path made absolute against the working directory, so that it names the same file after
// enterRunDirectory moves; an empty path stays empty.
std::string absolutePath(const std::string& path);
