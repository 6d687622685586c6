#include "designer/windows/DesignerProgram.h"

int main(int argc, char** argv) { return lx::RunDesigner(argc, argv); }
