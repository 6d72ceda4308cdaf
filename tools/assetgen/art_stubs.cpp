#include "art.h"
namespace art {
void PaintScreens(Canvas&, Canvas&, Canvas&, Canvas&, Canvas&) {}
void PaintStrips(Canvas&) {}
}
