// tunewell-drive: the tuner run headless from a script, for end-to-end
// tests and for support.

#include <iostream>

#include "app/driver/driver.h"

int main(int argc, char** argv) { return tw::app::drive::main(argc, argv, std::cin, std::cout, std::cerr); }
