// Fanners and gunners: small enemies that come down and fire fans and strings.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateFanners(const EnemyPool&) {}
void UpdateGunners(const EnemyPool&) {}
