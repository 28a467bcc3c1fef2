#pragma once

#include <string>

#include "dial/RgbaPicture.h"
#include "workshop/DiscFinder.h"

// How the workshop and `kestran-dial prepare --crop auto` read a picture and find the dial
// in it, so that both make the same dial of it.
namespace workshop {

// A large JPEG may come reduced by its decoder, its shorter side no less than this: the disc
// keeps several times the dial's pixels.
constexpr int kPictureMinSide = 1200;

// Every kind of picture prepare takes; false with the reason for a person.
bool LoadPicture(const std::string& path, SRgbaPicture& picture, std::string* why);

// The dial's disc: a picture of the dial's own size is a dial already and taken whole; in
// any other the disc is found (FindDisc).
SDisc DialDisc(const SRgbaPicture& picture);

// How the disc was found, for a person: "the largest round edge", and so on.
std::string DiscSourceText(EDiscSource source);

}  // namespace workshop
