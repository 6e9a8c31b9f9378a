// lumcrest-drive: the headless script driver. Commands on standard input, answers on standard
// output.
#include <iostream>

#include "driver.h"

int main(int argc, char** argv) {
    auto options = lumcrest::parseDriverOptions(argc, argv);
    if (!options) return 2;
    lumcrest::Driver driver(*options, std::cout);
    driver.run(std::cin);
    return 0;
}
