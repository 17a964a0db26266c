// The game window's icon, read from the data folder.
#pragma once

struct GLFWwindow;

// Icon files, one per size, relative to the working folder.
constexpr int kWindowIconSizes[] = {48, 64, 128, 256};
constexpr const char *kWindowIconPathFormat = "./data/icons/tesselon-%d.png";

// Gives the window every icon file that can be read and decoded; files that
// are missing or damaged are skipped, and with none the window keeps the
// desktop's default icon. Returns the number of icons set. Prints nothing.
int SetGameWindowIcon(GLFWwindow *window);
