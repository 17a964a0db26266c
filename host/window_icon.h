// The game window's icon, read from the data folder.
#pragma once

#include <vector>

struct GLFWwindow;

// Icon files, one per size, relative to the working folder.
constexpr int kWindowIconSizes[] = {48, 64, 128, 256};
constexpr const char *kWindowIconPathFormat = "./data/icons/tesselon-%d.png";

// One icon file as 8-bit RGBA pixels, rows top first (grey is spread to the
// three colours, a missing alpha is opaque). False, with nothing written,
// when the file is missing or not a decodable PNG.
bool LoadWindowIcon(const char *path, int *width, int *height, std::vector<unsigned char> *rgba);

// Gives the window every icon file that can be read and decoded; files that
// are missing or damaged are skipped, and with none the window keeps the
// desktop's default icon. Returns the number of icons set. Prints nothing.
int SetGameWindowIcon(GLFWwindow *window);
