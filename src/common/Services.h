#pragma once

#include "Clock.h"
#include "Interaction.h"
#include "Platform.h"

// The program's seams. The program installs the real implementations at start; tests
// install doubles. Each accessor aborts with a clear message when nothing is installed.
namespace services {

Interaction& ui();
Clock& clock();
Platform& platform();

void setInteraction(Interaction* interaction);
void setClock(Clock* clock);
void setPlatform(Platform* platform);

}  // namespace services
