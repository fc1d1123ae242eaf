#include "Programma.h"

StatoProgramma& programma() {
    static StatoProgramma stato;
    return stato;
}
