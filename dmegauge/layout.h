#pragma once
// Where the DME's parts sit on its 530 x 85 face, shared by the gauge's tables and its art so
// the drum strips, their windows and the face agree to the pixel.

namespace dme_layout {

inline constexpr int kFaceWidth = 530, kFaceHeight = 85;

// The drum block: every drum is a strip behind a window the size of the block, whose mask opens
// only that drum's digit opening.
inline constexpr int kDrumsX = 360, kDrumsY = 0;
inline constexpr int kDrumsWidth = 170, kDrumsHeight = 85;
inline constexpr int kOpeningTop = 22, kOpeningHeight = 40, kOpeningWidth = 30;
inline constexpr int kHundredsLeft = 24, kTensLeft = 64, kUnitsLeft = 104;  // within the block
// One digit per drum step: the strips move this many pixels per unit of their value.
inline constexpr int kDigitPitch = 40;

inline constexpr double kUnitsMin = 1.05, kUnitsMax = 11.85;
inline constexpr double kTensMin = 0, kTensMax = 9;
inline constexpr double kHundredsMin = 0, kHundredsMax = 1;

inline constexpr int kUnitsTravel = 432;     // (11.85 - 1.05) x 40
inline constexpr int kTensTravel = 360;      // 9 x 40
inline constexpr int kHundredsTravel = 40;   // 1 x 40

// The lights: 59 x 59 annunciators on the left of the face, and the third, 61 x 60, beside them.
inline constexpr int kGlideslopeX = 3, kGlideslopeY = 3;
inline constexpr int kGroundProximityX = 73, kGroundProximityY = 3;
inline constexpr int kLightSize = 59;
inline constexpr int kThirdX = 143, kThirdY = 2;
inline constexpr int kThirdWidth = 61, kThirdHeight = 60;

// The night-lit plate over the drum block (166 x 51), carrying the lit legends.
inline constexpr int kPlateX = 362, kPlateY = 17;
inline constexpr int kPlateWidth = 166, kPlateHeight = 51;

}  // namespace dme_layout
