// orb: the command-line host of the driver module.
#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) { return orb::cli::RunCli(argc, argv, std::cout, std::cerr); }
