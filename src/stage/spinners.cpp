// Spinners: small enemies that turn their fire as they come down.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateSpinners(const EnemyPool&) {}
