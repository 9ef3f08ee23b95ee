#include "app/ProgramMain.h"

// The program without Qt: batch mode, usage and version; no window, no charts.
int main(int argc, char** argv) { return kelvane::ProgramMain(argc, argv, {}); }
