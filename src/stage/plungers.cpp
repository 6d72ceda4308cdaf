// Plungers and sinkers: small enemies that dive through the field or sink into it.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdatePlungers(const EnemyPool&) {}
void UpdateSinkers(const EnemyPool&) {}
