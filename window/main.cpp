#include "app/ProgramMain.h"
#include "window/WindowProgram.h"

// The program with its window; with --measure it runs without one, as the batch program does.
int main(int argc, char** argv) {
    return kelvane::ProgramMain(argc, argv, &kelvane::WindowProgram::Run);
}
