// Entry point of the island scene.
#include "app/program.h"

int main() { return RunProgram(); }
