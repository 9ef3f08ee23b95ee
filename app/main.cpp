#include "app/ProgramMain.h"

// The program without a window: batch mode, usage and version.
int main(int argc, char** argv) { return kelvane::ProgramMain(argc, argv, {}); }
