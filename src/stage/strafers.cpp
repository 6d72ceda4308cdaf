// Strafers and arcers: small enemies released one by one that cross the field.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateStrafers(const EnemyPool&) {}
void UpdateArcers(const EnemyPool&) {}
