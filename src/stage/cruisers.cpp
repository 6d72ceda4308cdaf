// Cruisers and frigates: the six-ship formations of large enemies.
// Their movement and fire come later; until then the records stay where their spawner put them.
#include "stage/stage.h"

void UpdateCruisers() {}
void UpdateFrigates() {}
