// The escort, g_midBossEscort: a 96 x 48 craft that joins the mid-boss's third appearance as
// its mirror image. It glides in from the right edge, then swings right and back six times and
// sinks away to the lower right (midboss_craft.h); ten frames into the swinging it starts the
// four-shot sprays and gapped fans of the mid-boss's variant 2, and fires until it leaves.
// Killing it, scoring it and freeing it once it has left are the collision pass's business.
#include "stage/midboss_craft.h"
#include "stage/stage.h"

namespace {

inline constexpr int SWINGS = 6;

void Spray(MidBossEscort& e) { RunSpray(e, g_round == 2 ? FOUR_SHOT_SPRAY_ROUND_2 : FOUR_SHOT_SPRAY_ROUND_1); }
void Fans(MidBossEscort& e) { RunFans(e, g_round == 2 ? GAP_FANS_ROUND_2 : GAP_FANS_ROUND_1); }

enum PatternRow { SPRAY, FANS };
// clang-format off
inline constexpr Pattern<MidBossEscort> PATTERNS[] = {
    {&MidBossEscort::spraySwitch, Spray, {&MidBossEscort::sprayTick}, {&MidBossEscort::leftSprayAngle, &MidBossEscort::rightSprayAngle}},
    {&MidBossEscort::fanSwitch, Fans, {&MidBossEscort::fanTimer}},
};
// clang-format on

inline constexpr ScriptEvent SCRIPT[] = {
    {10, 10, {On(SPRAY), On(FANS)}},
};

void Fire(MidBossEscort& e) { RunScriptFrame<MidBossEscort>(e, SCRIPT, PATTERNS, {}); }

}  // namespace

void UpdateMidBossEscort() {
    if (g_midBossEscort.alive != 1) return;
    RunGlidingCraft(g_midBossEscort, -1, SWINGS, Fire);
}
