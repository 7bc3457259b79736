#pragma once

namespace tessaron {

// Corvandelle's program entry:
//   Corvandelle                     the tray program (one per user)
//   Corvandelle --command St|Go|Ck  stop, start or configure the running one
int CorvandelleMain(int argc, char** argv);

} // namespace tessaron
