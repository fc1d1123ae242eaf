#include "Services.h"

#include <QtGlobal>

namespace {
Interaction* g_interaction = nullptr;
Clock* g_clock = nullptr;
Platform* g_platform = nullptr;

template <typename T>
T& installed(T* service, const char* what) {
    if (!service) {
        qFatal("Vardello: no %s installed", what);
    }
    return *service;
}
}  // namespace

namespace services {

Interaction& ui() { return installed(g_interaction, "interaction"); }
Clock& clock() { return installed(g_clock, "clock"); }
Platform& platform() { return installed(g_platform, "platform"); }

void setInteraction(Interaction* interaction) { g_interaction = interaction; }
void setClock(Clock* clock) { g_clock = clock; }
void setPlatform(Platform* platform) { g_platform = platform; }

}  // namespace services
