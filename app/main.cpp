#include "app/TMain.h"

int main(int argc, char** argv) { return TMain::Main(argc, argv); }
