#include "art.h"
namespace art {
void PaintEffects(Canvas&) {}
void PaintBosses(Canvas&, Canvas&, Canvas&, Canvas&, Canvas&) {}
void PaintScreens(Canvas&, Canvas&, Canvas&, Canvas&, Canvas&) {}
void PaintStrips(Canvas&) {}
}
