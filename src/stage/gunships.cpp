// Gunships: the four single large enemies, two of them item carriers.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateGunship(int) {}
