// The third boss.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateBossThree() {}
