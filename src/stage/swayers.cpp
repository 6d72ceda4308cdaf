// Swayers and wide swayers: small enemies that come down swinging from side to side.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateSwayers(const EnemyPool&) {}
void UpdateWideSwayers(const EnemyPool&) {}
