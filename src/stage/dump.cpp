// The stage's section of the state dump. Records are written as arrays of their fields, named
// one by one in declared order (float fields as their bits).
#include <bit>
#include <initializer_list>

#include "app/state_dump.h"
#include "stage/stage.h"

namespace {

int32_t Bits(float f) { return std::bit_cast<int32_t>(f); }

void DumpFields(JsonWriter& w, const char* name, std::initializer_list<int32_t> fields) {
    JsonBeginArray(w, name);
    for (int32_t f : fields) JsonInt(w, nullptr, f);
    JsonEndArray(w);
}

void Dump(JsonWriter& w, const char* name, const Enemy& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.phase, r.entryCounter, r.work0, r.work1, r.work2,
        r.work3, r.work4, r.work5
    });
}

void Dump(JsonWriter& w, const char* name, const LargeEnemy& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.phase, r.entryCounter, r.work0, r.work1, r.work2,
        r.work3, r.work4, r.work5, r.work6, r.work7, r.work8, r.work9, r.work10, r.work11
    });
}

void Dump(JsonWriter& w, const char* name, const MidBoss& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.motionCounter, r.glideSpeed, r.swingCount,
        r.leaving, r.scriptTimer, r.spraySwitch, Bits(r.leftSprayAngle), Bits(r.rightSprayAngle), r.sprayTick,
        r.fanSwitch, r.fanTimer, r.targetX, r.targetY, r.variant, r.ringSwitch, r.ringTick, Bits(r.ringStep),
        Bits(r.ringTurn)
    });
}

void Dump(JsonWriter& w, const char* name, const MidBossEscort& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.motionCounter, r.glideSpeed, r.swingCount,
        r.leaving, r.scriptTimer, r.spraySwitch, Bits(r.leftSprayAngle), Bits(r.rightSprayAngle), r.sprayTick,
        r.fanSwitch, r.fanTimer, r.targetX, r.targetY
    });
}

void Dump(JsonWriter& w, const char* name, const MidBossTwo& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.entryCounter, r.swaySwitch, r.scriptTimer,
        r.waveSwitch, r.waveTick, r.waveDirection, r.leftRingSwitch, r.leftRingTick, r.rightRingSwitch,
        r.rightRingTick, r.burstSwitch, r.burstTick, r.leaving, r.unused[0], r.unused[1], r.unused[2],
        Bits(r.swayAngle), Bits(r.waveAngle), Bits(r.leftRingAngle), Bits(r.leftRingBase),
        Bits(r.rightRingAngle), Bits(r.rightRingBase), Bits(r.burstAngle), Bits(r.burstBase)
    });
}

void Dump(JsonWriter& w, const char* name, const BossOne& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.entryCounter, r.scriptTimer, r.spiral1Switch,
        r.swaySwitch, r.cross1Switch, r.cross2Switch, r.spiral2Switch, r.secondPass, r.cross3Switch,
        r.ringSwitch, r.targetX, r.targetY, Bits(r.leftSpiralAngle), Bits(r.rightSpiralAngle), r.spiralTick,
        r.appearance, r.sideGunTick, r.twinSpiralSwitch, r.twinSpiralTick, r.fanTick, r.fanSwitch,
        r.targetFansSwitch, r.targetFansCycle, r.targetFansTick, Bits(r.swayAngle), Bits(r.twinSpiralAngle1),
        Bits(r.twinSpiralAngle2)
    });
}

void Dump(JsonWriter& w, const char* name, const BossTwo& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.appearance, r.entryCounter, r.swaySwitch,
        r.scriptTimer, r.spraySwitch, r.sprayTick, r.wingSpraySwitch, r.wingSprayTick, r.centreFanSwitch,
        r.centreFanTick, r.passCount, r.crossSwitch, r.crossTick, r.wingFanSwitch, r.wingFanTick, r.ringTick,
        r.centreFansSwitch, r.centreFansCycle, r.centreFansTick, r.showerSwitch, r.showerTick, r.showerDelay,
        r.showerCrossTick, Bits(r.swayAngle), Bits(r.sprayAngle), Bits(r.sprayBase), Bits(r.leftWingSprayAngle),
        Bits(r.rightWingSprayAngle), Bits(r.showerAngle1), Bits(r.crossAngle)
    });
}

void Dump(JsonWriter& w, const char* name, const BossThree& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.partFrame, r.swaySwitch, r.entered, r.entrySpeed,
        r.entryTick, r.scriptTimer, r.crossSwitch, r.crossTick, r.sideFanSwitch, r.sideFanTick,
        r.sideFanTargetX, r.sideFanTargetY, r.wallSwitch, r.wallTargetCaptured, r.wallTargetX, r.wallTargetY,
        r.wallTick, r.wallStage, r.wallHoldCount, r.wallSweepDirection, r.wallSweepCount, r.doubleFanSwitch,
        r.doubleFanStreamTick, r.doubleFanFanTick, r.twinRingSwitch, r.twinRingTick, r.turningRingASwitch,
        r.turningRingATick, r.turningRingBSwitch, r.turningRingBTick, r.fanStreamsSwitch,
        r.fanStreamsStreamTick, r.fanStreamsFanTick, r.burstSwitch, r.burstTick, Bits(r.swayAngle),
        Bits(r.crossAngle), Bits(r.wallSpreadLeft), Bits(r.wallSpreadRight), Bits(r.doubleFanAngleA),
        Bits(r.doubleFanAngleB), Bits(r.twinRingStep), Bits(r.twinRingAngleC), Bits(r.twinRingAngleD),
        Bits(r.turningRingAStep), Bits(r.turningRingATurn), Bits(r.turningRingBStep), Bits(r.turningRingBTurn),
        Bits(r.fanStreamsAngleA), Bits(r.fanStreamsAngleB), Bits(r.burstStep), Bits(r.burstTurn)
    });
}

void Dump(JsonWriter& w, const char* name, const BossFour& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.scriptTimer, r.circlingSwitch, r.entered,
        r.entrySpeed, r.entryTick, r.coverOffset, r.coverSwitch, r.podsSwitch, r.rightPodOffset,
        r.leftPodOffset, r.patternASwitch, r.largeGunTick, r.ringTick, r.patternASpiralTick, r.patternBSwitch,
        r.patternBRingTick, r.twinSpiralTick, r.patternBFanTick, r.patternCSwitch, Bits(r.circlingAngle),
        Bits(r.largeGunAngle), Bits(r.ringAngle), Bits(r.spiralAngle1), Bits(r.spiralAngle2)
    });
}

void Dump(JsonWriter& w, const char* name, const BossFinal& r) {
    DumpFields(w, name, {
        r.x, r.y, r.width, r.height, r.alive, r.hitPoints, r.pose, r.circlingSwitch, r.entered, r.entrySpeed,
        r.entryTick, r.scriptTimer, r.patternASwitch, r.patternAFanTick, r.patternACrossTick,
        r.patternASpiralTick, r.patternARingTick, r.patternBSwitch, r.patternBTick, r.patternCSwitch,
        r.patternCTargetCaptured, r.patternCTick, r.patternCTargetX, r.patternCTargetY, r.patternCVolleyCount,
        r.patternDSwitch, r.patternDLeftGunTick, r.patternDRightGunTick, r.patternDRightGunDelay,
        r.patternDCurtainCycle, r.patternDCurtainTick, r.lastStand, r.lastStandDelay, r.lastStandRingSwitch,
        r.lastStandRingTick, Bits(r.circlingAngle), Bits(r.patternACrossAngle), Bits(r.patternASpiralAngle1),
        Bits(r.patternASpiralAngle2), Bits(r.patternARingAngle), Bits(r.patternBLeftAngle),
        Bits(r.patternBRightAngle), Bits(r.patternCSweep), Bits(r.patternDLeftGunAngle),
        Bits(r.patternDRightGunAngle), Bits(r.lastStandRingAngle)
    });
}

}  // namespace

void DumpStageState(JsonWriter& w) {
    JsonInt(w, "g_stageFrame", g_stageFrame);
    JsonInt(w, "g_round", g_round);
    JsonInt(w, "g_bossTimer", g_bossTimer);
    JsonInt(w, "g_bossTimerTick", g_bossTimerTick);
    JsonInt(w, "g_bossTimerVisible", g_bossTimerVisible);
    JsonInt(w, "g_bulletSlowdownHigh", g_bulletSlowdownHigh);
    JsonInt(w, "g_dropItemA", g_dropItemA);
    JsonInt(w, "g_dropItemB", g_dropItemB);
    JsonInt(w, "g_dropItemC", g_dropItemC);
    JsonInt(w, "g_enemyAnimX", g_enemyAnimX);
    JsonInt(w, "g_largeEnemyAnimX", g_largeEnemyAnimX);
    JsonBeginArray(w, "g_enemies");
    for (const Enemy& e : g_enemies) Dump(w, nullptr, e);
    JsonEndArray(w);
    JsonBeginArray(w, "g_largeEnemies");
    for (const LargeEnemy& e : g_largeEnemies) Dump(w, nullptr, e);
    JsonEndArray(w);
    Dump(w, "g_midBoss", g_midBoss);
    Dump(w, "g_midBossEscort", g_midBossEscort);
    Dump(w, "g_midBossTwo", g_midBossTwo);
    Dump(w, "g_bossOne", g_bossOne);
    Dump(w, "g_bossTwo", g_bossTwo);
    Dump(w, "g_bossThree", g_bossThree);
    Dump(w, "g_bossFour", g_bossFour);
    Dump(w, "g_bossFinal", g_bossFinal);
}
