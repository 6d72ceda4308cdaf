// The boss records: one stand-alone record per boss. Each starts with x, y, width, height,
// alive, hitPoints like every enemy record, followed by the boss's own counters, switches and
// angles in a fixed order (the field numbers in the comments count from x = 0). Some fields
// serve another purpose in a boss's second appearance and carry both names.
#pragma once

#include <cstdint>

// The recurring mid-boss (four variants).
struct MidBoss {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t motionCounter;  // 6
    int32_t glideSpeed;     // 7; 18 at spawn
    int32_t swingCount;     // 8
    int32_t leaving;        // 9
    int32_t scriptTimer;    // 10
    union {
        int32_t spraySwitch;  // 11
        int32_t fanTick;      // 11, variant 3
    };
    float leftSprayAngle;      // 12
    float rightSprayAngle;     // 13
    int32_t sprayTick;         // 14
    int32_t fanSwitch;         // 15
    int32_t fanTimer;          // 16
    int32_t targetX, targetY;  // 17, 18
    int32_t variant;           // 19; 0..3
    int32_t ringSwitch;        // 20, variant 1
    int32_t ringTick;          // 21, variant 1
    float ringStep;            // 22, variant 1
    float ringTurn;            // 23, variant 1
};
static_assert(sizeof(MidBoss) == 24 * 4);

// The escort that comes with the third appearance of the mid-boss.
struct MidBossEscort {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t motionCounter;     // 6
    int32_t glideSpeed;        // 7; 18 at spawn
    int32_t swingCount;        // 8
    int32_t leaving;           // 9
    int32_t scriptTimer;       // 10
    int32_t spraySwitch;       // 11
    float leftSprayAngle;      // 12
    float rightSprayAngle;     // 13
    int32_t sprayTick;         // 14
    int32_t fanSwitch;         // 15
    int32_t fanTimer;          // 16
    int32_t targetX, targetY;  // 17, 18
};
static_assert(sizeof(MidBossEscort) == 19 * 4);

// The second mid-boss.
struct MidBossTwo {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t entryCounter;                    // 6
    int32_t swaySwitch;                      // 7
    int32_t scriptTimer;                     // 8
    int32_t waveSwitch;                      // 9
    int32_t waveTick;                        // 10
    int32_t waveDirection;                   // 11; 0 rising, 1 falling
    int32_t leftRingSwitch, leftRingTick;    // 12, 13
    int32_t rightRingSwitch, rightRingTick;  // 14, 15
    int32_t burstSwitch, burstTick;          // 16, 17
    int32_t leaving;                         // 18
    int32_t unused[3];                       // 19-21: never read or written; they keep the later fields where they were
    float swayAngle;                         // 22
    float waveAngle;                         // 23
    float leftRingAngle, leftRingBase;       // 24, 25
    float rightRingAngle, rightRingBase;     // 26, 27
    float burstAngle, burstBase;             // 28, 29
};
static_assert(sizeof(MidBossTwo) == 30 * 4);

// The first boss; its second appearance reuses several fields under other names.
struct BossOne {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t entryCounter;   // 6
    int32_t scriptTimer;    // 7
    int32_t spiral1Switch;  // 8
    int32_t swaySwitch;     // 9; 1 at spawn
    union {
        int32_t cross1Switch;  // 10
        int32_t wallState;     // 10, second appearance: 0 off, 1 starting, 2 on
    };
    union {
        int32_t cross2Switch;  // 11
        int32_t wallAimX;      // 11, second appearance
    };
    union {
        int32_t spiral2Switch;  // 12
        int32_t wallAimY;       // 12, second appearance
    };
    union {
        int32_t secondPass;  // 13
        int32_t wallTick;    // 13, second appearance
    };
    union {
        int32_t cross3Switch;     // 14
        int32_t wallVolleyCount;  // 14, second appearance
    };
    union {
        int32_t ringSwitch;      // 15
        int32_t singleShotTick;  // 15, second appearance
    };
    int32_t targetX, targetY;  // 16, 17
    union {
        float leftSpiralAngle;  // 18
        float wallSpread;       // 18, second appearance
    };
    float rightSpiralAngle;  // 19
    union {
        int32_t spiralTick;    // 20
        int32_t sideGunCycle;  // 20, second appearance
    };
    int32_t appearance;                        // 21; 0 first, 1 second
    int32_t sideGunTick;                       // 22, second appearance
    int32_t twinSpiralSwitch;                  // 23, second appearance
    int32_t twinSpiralTick;                    // 24, second appearance
    int32_t fanTick;                           // 25, second appearance
    int32_t fanSwitch;                         // 26, second appearance
    int32_t targetFansSwitch;                  // 27, second appearance
    int32_t targetFansCycle;                   // 28, second appearance
    int32_t targetFansTick;                    // 29, second appearance
    float swayAngle;                           // 30
    float twinSpiralAngle1, twinSpiralAngle2;  // 31, 32, second appearance
};
static_assert(sizeof(BossOne) == 33 * 4);

// The second boss; its second appearance reuses several fields under other names.
struct BossTwo {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t appearance;    // 6; 0 first, 1 second
    int32_t entryCounter;  // 7
    int32_t swaySwitch;    // 8; 1 at spawn
    int32_t scriptTimer;   // 9
    union {
        int32_t spraySwitch;  // 10
        int32_t pairsSwitch;  // 10, second appearance
    };
    union {
        int32_t sprayTick;      // 11
        int32_t mirrorFanTick;  // 11, second appearance
    };
    union {
        int32_t wingSpraySwitch;  // 12
        int32_t pairFanTick;      // 12, second appearance
    };
    union {
        int32_t wingSprayTick;  // 13
        int32_t pairCycle;      // 13, second appearance
    };
    union {
        int32_t centreFanSwitch;  // 14
        int32_t targetX;          // 14, second appearance
    };
    union {
        int32_t centreFanTick;  // 15
        int32_t targetY;        // 15, second appearance
    };
    union {
        int32_t passCount;  // 16
        int32_t pairTick;   // 16, second appearance
    };
    union {
        int32_t crossSwitch;  // 17
        int32_t wingSwitch;   // 17, second appearance: wing fans and the cross
    };
    int32_t crossTick;  // 18
    union {
        int32_t wingFanSwitch;  // 19
        int32_t wingFanCycle;   // 19, second appearance
    };
    union {
        int32_t wingFanTick;  // 20
        int32_t ringSwitch;   // 20, second appearance
    };
    int32_t ringTick;                                           // 21, second appearance
    int32_t centreFansSwitch, centreFansCycle, centreFansTick;  // 22-24, second appearance
    int32_t showerSwitch;                                       // 25, second appearance
    int32_t showerTick, showerDelay, showerCrossTick;           // 26-28, second appearance
    float swayAngle;                                            // 29
    union {
        float sprayAngle;        // 30
        float secondCrossAngle;  // 30, second appearance: the cross angle
    };
    union {
        float sprayBase;  // 31
        float ringStep;   // 31, second appearance
    };
    union {
        float leftWingSprayAngle;  // 32
        float ringTurn;            // 32, second appearance
    };
    union {
        float rightWingSprayAngle;  // 33
        float showerAngle2;         // 33, second appearance
    };
    float showerAngle1;  // 34, second appearance
    float crossAngle;    // 35
};
static_assert(sizeof(BossTwo) == 36 * 4);

// The third boss.
struct BossThree {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t partFrame;                             // 6; source x of the side parts: 0, 80, 160, 240
    int32_t swaySwitch;                            // 7; 1 at spawn
    int32_t entered;                               // 8
    int32_t entrySpeed;                            // 9; 11 at spawn
    int32_t entryTick;                             // 10
    int32_t scriptTimer;                           // 11
    int32_t crossSwitch, crossTick;                // 12, 13
    int32_t sideFanSwitch, sideFanTick;            // 14, 15
    int32_t sideFanTargetX, sideFanTargetY;        // 16, 17
    int32_t wallSwitch;                            // 18
    int32_t wallTargetCaptured;                    // 19
    int32_t wallTargetX, wallTargetY;              // 20, 21
    int32_t wallTick;                              // 22
    int32_t wallStage;                             // 23; 0 closing, 1 holding, 2 sweeping
    int32_t wallHoldCount;                         // 24
    int32_t wallSweepDirection;                    // 25
    int32_t wallSweepCount;                        // 26
    int32_t doubleFanSwitch;                       // 27
    int32_t doubleFanStreamTick;                   // 28
    int32_t doubleFanFanTick;                      // 29
    int32_t twinRingSwitch, twinRingTick;          // 30, 31
    int32_t turningRingASwitch, turningRingATick;  // 32, 33
    int32_t turningRingBSwitch, turningRingBTick;  // 34, 35
    int32_t fanStreamsSwitch;                      // 36
    int32_t fanStreamsStreamTick;                  // 37
    int32_t fanStreamsFanTick;                     // 38
    int32_t burstSwitch, burstTick;                // 39, 40
    float swayAngle;                               // 41
    float crossAngle;                              // 42
    float wallSpreadLeft, wallSpreadRight;         // 43, 44
    float doubleFanAngleA, doubleFanAngleB;        // 45, 46
    float twinRingStep;                            // 47
    float twinRingAngleC, twinRingAngleD;          // 48, 49
    float turningRingAStep, turningRingATurn;      // 50, 51
    float turningRingBStep, turningRingBTurn;      // 52, 53
    float fanStreamsAngleA, fanStreamsAngleB;      // 54, 55
    float burstStep, burstTurn;                    // 56, 57
};
static_assert(sizeof(BossThree) == 58 * 4);

// The fourth boss.
struct BossFour {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t scriptTimer;               // 6
    int32_t circlingSwitch;            // 7
    int32_t entered;                   // 8; 0 while descending
    int32_t entrySpeed;                // 9; 11 at spawn
    int32_t entryTick;                 // 10
    int32_t coverOffset;               // 11; 90 at spawn
    int32_t coverSwitch;               // 12
    int32_t podsSwitch;                // 13
    int32_t rightPodOffset;            // 14; 6 at spawn
    int32_t leftPodOffset;             // 15; 2 at spawn
    int32_t patternASwitch;            // 16
    int32_t largeGunTick;              // 17
    int32_t ringTick;                  // 18; patterns A and C
    int32_t patternASpiralTick;        // 19
    int32_t patternBSwitch;            // 20
    int32_t patternBRingTick;          // 21
    int32_t twinSpiralTick;            // 22; patterns B and C
    int32_t patternBFanTick;           // 23
    int32_t patternCSwitch;            // 24
    float circlingAngle;               // 25
    float largeGunAngle;               // 26
    float ringAngle;                   // 27
    float spiralAngle1, spiralAngle2;  // 28, 29
};
static_assert(sizeof(BossFour) == 30 * 4);

// The final boss.
struct BossFinal {
    int32_t x, y, width, height, alive, hitPoints;
    int32_t pose;                                       // 6; 0..3, the picture drawn
    int32_t circlingSwitch;                             // 7
    int32_t entered;                                    // 8; 0 while descending
    int32_t entrySpeed;                                 // 9; 11 at spawn
    int32_t entryTick;                                  // 10
    int32_t scriptTimer;                                // 11
    int32_t patternASwitch;                             // 12
    int32_t patternAFanTick;                            // 13
    int32_t patternACrossTick;                          // 14
    int32_t patternASpiralTick;                         // 15
    int32_t patternARingTick;                           // 16
    int32_t patternBSwitch;                             // 17
    int32_t patternBTick;                               // 18
    int32_t patternCSwitch;                             // 19
    int32_t patternCTargetCaptured;                     // 20
    int32_t patternCTick;                               // 21
    int32_t patternCTargetX, patternCTargetY;           // 22, 23
    int32_t patternCVolleyCount;                        // 24
    int32_t patternDSwitch;                             // 25
    int32_t patternDLeftGunTick;                        // 26
    int32_t patternDRightGunTick;                       // 27
    int32_t patternDRightGunDelay;                      // 28
    int32_t patternDCurtainCycle;                       // 29
    int32_t patternDCurtainTick;                        // 30
    int32_t lastStand;                                  // 31
    int32_t lastStandDelay;                             // 32
    int32_t lastStandRingSwitch;                        // 33
    int32_t lastStandRingTick;                          // 34
    float circlingAngle;                                // 35
    float patternACrossAngle;                           // 36
    float patternASpiralAngle1, patternASpiralAngle2;   // 37, 38
    float patternARingAngle;                            // 39
    float patternBLeftAngle, patternBRightAngle;        // 40, 41
    float patternCSweep;                                // 42
    float patternDLeftGunAngle, patternDRightGunAngle;  // 43, 44
    float lastStandRingAngle;                           // 45
};
static_assert(sizeof(BossFinal) == 46 * 4);
