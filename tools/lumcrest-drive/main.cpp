// lumcrest-drive: the headless script driver. Commands on standard input, answers on standard
// output.
#include <iostream>

#include "app/command_line.h"
#include "store/profile.h"
#include "tools/lumcrest-drive/driver.h"

int main(int argc, char** argv) {
    // A file size limit fails the settings file's write, as the game's does, instead of ending it.
    lumcrest::keepRunningPastFileSizeLimit();
    auto options = lumcrest::parseDriverOptions(argc, argv);
    if (!options) return 2;
    if (options->help) {
        std::cout << lumcrest::driverUsage();
        return 0;
    }
    if (options->version) {
        std::cout << "lumcrest-drive " << lumcrest::gameVersion() << "\n";
        return 0;
    }
    lumcrest::Driver driver(*options, std::cout);
    driver.run(std::cin);
    return 0;
}
