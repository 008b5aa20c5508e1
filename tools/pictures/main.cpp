// velkaro-draw-pictures --kumo FILE --moonlist FILE: the build step that draws the two embedded
// pictures. It stands apart from velkaro-cli because the CLI itself links the embedded pictures.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/pictures/draw_pictures.h"

int main(int argc, char** argv) {
  std::string kumo;
  std::string moonList;
  for (int i = 1; i < argc; ++i) {
    if (i + 1 < argc && std::strcmp(argv[i], "--kumo") == 0) {
      kumo = argv[++i];
    } else if (i + 1 < argc && std::strcmp(argv[i], "--moonlist") == 0) {
      moonList = argv[++i];
    } else {
      std::fprintf(stderr, "usage: velkaro-draw-pictures [--kumo FILE] [--moonlist FILE]\n");
      return 2;
    }
  }
  if (kumo.empty() && moonList.empty()) {
    std::fprintf(stderr, "usage: velkaro-draw-pictures [--kumo FILE] [--moonlist FILE]\n");
    return 2;
  }
  std::string error;
  if (!velkaro::pictures::WritePictures(kumo, moonList, &error)) {
    std::fprintf(stderr, "velkaro-draw-pictures: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
