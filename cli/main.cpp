#include "Command.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tessaron::cli::RunTool(std::vector<std::string>(argv, argv + argc), std::cout,
                                  std::cerr);
}
