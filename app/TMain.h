#pragma once

// The program's entry.
class TMain {
public:
    // Exit code: 0 after a normal end, 1 when there is no data folder or the window could not be opened.
    static int Main(int argc, char** argv);
};
