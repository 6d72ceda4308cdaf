// Droppers and hoverers: small enemies that drop in, brake, stop and sink away.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateDroppers(const EnemyPool&) {}
void UpdateHoverers(const EnemyPool&) {}
