#pragma once
#include <string>

namespace rsgz::app {

class TDM;

// The photo file of an employee number: 照片/<number>.jpg in the program directory.
std::string employeePhotoPath(const TDM& dm, const std::string& number);
// The picture to show for the current employee: the file named in 照片位置 when it exists, else the
// copy in 照片/, else nothing (empty).
std::string photoToShow(TDM& dm);
// Whether a text holds a path separator (an employee number that would leave the photo folder).
bool hasPathSeparator(const std::string& s);

}  // namespace rsgz::app
