// Corvandelle, the tray program that bridges USB keypads to virtual serial ports.
#include "portmgr/shell/ProgramEntry.h"

int main(int argc, char** argv)
{
    return tessaron::CorvandelleMain(argc, argv);
}
