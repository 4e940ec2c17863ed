#include "app/TSimulator.h"

int main(int argc, char** argv) { return TSimulator::Main(argc, argv); }
